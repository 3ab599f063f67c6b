#pragma once

namespace tavir {

constexpr int kMaxSelectionPieces = 256;

// The result of the open-file dialog cut at blanks, commas, tabs and newlines, in place: one
// piece is the full path of one file; with more, the first is the directory and the others are
// file names in it. Gives the number of pieces (at most kMaxSelectionPieces).
int splitOpenSelection(char* selection, char* (&pieces)[kMaxSelectionPieces]);

}  // namespace tavir
