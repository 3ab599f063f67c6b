#pragma once

// The texts the simulated controller sends in the memory dump exchange. They are bytes on the
// wire, shown by the debugger's dump dialog; no text holds two blanks in a row, which would
// switch that dialog's data line off.
namespace tavir::sim::text {

inline constexpr char kVerifyReply[] = "tavir-sim: verbinding in orde\n";
inline constexpr char kDumpMadeReply[] = "dump gemaakt: %d waarden\n";
inline constexpr char kNoDumpReply[] = "geen dump gemaakt\n";
inline constexpr char kDumpAbortedReply[] = "ophalen afgebroken\n";
inline constexpr char kNotFetchingReply[] = "ophalen niet actief\n";
inline constexpr char kDumpHeader[] = "DUMP tavir-sim datum %06d tijd %06d waarden %d\n";
inline constexpr char kDumpColumns[] = "functie nummer blok waarde\n";
inline constexpr char kDumpLine[] = "%d %d %d %d\n";

}  // namespace tavir::sim::text
