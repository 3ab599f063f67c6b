#include "shell/open_selection.h"

#include <cstring>

namespace tavir {

int splitOpenSelection(char* selection, char* (&pieces)[kMaxSelectionPieces]) {
    int count = 0;
    char* at = selection;
    while (*at != '\0' && count < kMaxSelectionPieces) {
        at += std::strspn(at, " ,\t\n");
        if (*at == '\0') break;
        pieces[count++] = at;
        at += std::strcspn(at, " ,\t\n");
        if (*at != '\0') *at++ = '\0';
    }
    return count;
}

}  // namespace tavir
