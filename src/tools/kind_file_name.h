#pragma once
#include <string>

namespace tavir {

// The name of a kind's own file: the chosen name split into drive ("X:"), directory (up to the
// last "\" or "/"), base name and extension (from the last "." behind the directory), each cut
// to 255 characters, joined with the suffix between base name and extension:
// "C:\data\afname.txt" and "_VG" give "C:\data\afname_VG.txt", "result" gives "result_VG".
std::string kindFileName(const char* chosenName, const char* suffix);

}  // namespace tavir
