#pragma once
// What the parameter tools' dialogs share: the kind check boxes, the speed radios, the file-name
// choice and the progress bar with the message boxes of a run.
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/settings.h"
#include "tools/parameter_kind.h"
#include "tools/tool_context.h"

namespace tavir {

// A kind whose table is empty is disabled and unchecked whatever its key says.
void setKindBoxes(HWND dialog, const KindSelection& kinds, const ApplicationTables& tables);
KindSelection readKindBoxes(HWND dialog);

// Checks the radio of the interval; none for an interval that is none of the five.
void setSpeedRadios(HWND dialog, uint32_t intervalMs);
// The first checked radio's interval, or intervalMs when none is checked.
uint32_t readSpeedRadios(HWND dialog, uint32_t intervalMs);

bool isChecked(HWND dialog, int control);
void setChecked(HWND dialog, int control, bool on);
std::string controlText(HWND dialog, int control);

// The save-as dialog for the file-name edit, with one file type (its display text and an empty
// pattern): true with the chosen name in the edit and in name when the user chose one.
bool chooseSaveFile(HWND dialog, int edit, const char* title, const char* fileType, const char* extension,
                    std::string& name);

// The parameter tools' "...": the save-as dialog for a parameter file; a name other than fileName
// becomes fileName and is stored under the tool's prefix at once.
void chooseParameterFile(HWND dialog, int edit, const char* title, Settings& settings, const char* prefix,
                         std::string& fileName);

// The run's progress goes to the dialog's bar, its messages to boxes owned by the dialog.
class DialogReporter : public ToolReporter {
public:
    explicit DialogReporter(HWND dialog) : dialog_(dialog) {}
    void beginProgress(int total) override;
    void stepProgress() override;
    void showMessage(const char* text, const char* caption, ToolIcon icon) override;

private:
    HWND dialog_;
};

}  // namespace tavir
