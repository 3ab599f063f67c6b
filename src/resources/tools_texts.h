#pragma once
// Texts of the batch tools, as CP1252 bytes: message boxes, the lines of the output files, the
// settings keys and the dump tool's status line. A "%" is filled in before the text is shown or
// written; every "\n" of a file line is stored as CR LF.

namespace tavir::text {

// ---- The parameter tools: captions and closing messages ----

inline constexpr char kDifferencesCaption[] = "Verschillen met KVAPTAB.C zien";
inline constexpr char kAdjustmentCaption[] = "Automatische Parameter Aanpassing";
inline constexpr char kSweepCaption[] = "Automatische Afname";

inline constexpr char kNoDifferences[] = "Er zijn geen verschillen gevonden!";
inline constexpr char kAdjustmentDone[] = "De aanpassing van parameters is gereed";
inline constexpr char kAdjustmentFailed[] = "De aanpassing van parameters is niet gelukt";
inline constexpr char kSweepDone[] = "De afname is gereed";
inline constexpr char kResetDone[] = "Het herstellen van de originele instellingen is gereed";

// ---- Output files: one header line per kind, then one row per write ----

inline constexpr char kClearanceHeader[] = "Ontruimingstijd Volgnr  SGvan  SGnaar  Instelling\n";
inline constexpr char kClearanceRow[] = "                %6d  %-5s   %-5s  %6d\n";
inline constexpr char kSignalGroupHeader[] = "Parameter  SG     Instelling\n";
inline constexpr char kVgRow[] = "VG-tijd    %-5s  %6d\n";
inline constexpr char kGlRow[] = "GL-tijd    %-5s  %6d\n";
inline constexpr char kMgHeader[] = "MG_tijd     SG       Instelling\n";
inline constexpr char kMgRow[] = "MG-tijd     %-5s    %6d\n";
inline constexpr char kExtraMgRow[] = "MG-tijd%d    %-5s    %6d\n";
inline constexpr char kGapHeader[] = "Hi_Bzttijd  DET      Instelling\n";
inline constexpr char kGapRow[] = "%s   %-5s    %6d\n";
inline constexpr const char* kGapPassLabel[] = {"H_TIJD1", "H_TIJD2", "BZT_TIJD"};
inline constexpr char kTimerHeader[] = "Parameter  Tijd                  Instelling\n";
inline constexpr char kTimerRow[] = "Tijd       %-20s  %6d\n";
inline constexpr char kClockHeader[] = "Parameter  Klok                  Instelling\n";
inline constexpr char kClockRow1[] = "1e Klok    %-20s  %6d\n";
inline constexpr char kClockRow2[] = "2e Klok    %-20s  %6d\n";
inline constexpr char kSwitchHeader[] = "Parameter     Volgnr                Instelling\n";
inline constexpr char kSwitchRow[] = "Schakelaar    %-20s  %6d\n";
inline constexpr char kEggparmHeader[] = "Parameter  EGGPARM               Instelling\n";
inline constexpr char kEggparmRow[] = "EGGPARM    %-20s  %6d\n";
inline constexpr char kEparmHeader[] = "Parameter  EPARM                 Instelling\n";
inline constexpr char kEparmRow[] = "EPARM      %-20s  %6d\n";

inline constexpr char kResetLine[] = "\nReset originele instellingen\n";

// File name suffixes of the separate files, in kind order.
inline constexpr const char* kKindFileSuffix[] = {"_ONT",  "_VG",   "_GL",  "_MG",      "_HIAAT",
                                                  "_TIJD", "_KLOK", "_SCH", "_EGGPARM", "_EPARM"};

// ---- Differences: the source value, then the controller's ----

inline constexpr char kClearanceDifference[] =
    "Verschil bij ontruimingstijden van %s naar %s\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kVgDifference[] =
    "Verschil bij VG-tijden van %s\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kGlDifference[] =
    "Verschil bij GL-tijden van %s\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kMgDifference[] =
    "Verschil bij MG-tijden van %s-MG_TIJD%d\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kGap1Difference[] =
    "Verschil bij hiaattijden van %s\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kGap2Difference[] =
    "Verschil bij extra hiaattijden van %s\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kOccupancyDifference[] =
    "Verschil bij bezettijden van %s\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kTimerDifference[] =
    "Verschil bij tijd %s\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kClock1Difference[] =
    "Verschil bij klokken tijdstip 1 van %s\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kClock2Difference[] =
    "Verschil bij klokken tijdstip 2 van %s\nWaarde in broncode is %5.2f, in regeling %d";
inline constexpr char kSwitchDifference[] =
    "Verschil bij schakelaar %s\nWaarde in broncode is %d, in regeling %d";
inline constexpr char kEggparmDifference[] =
    "Verschil bij EGGPARM %s\nWaarde in broncode is %d, in regeling %d";
inline constexpr char kEparmDifference[] =
    "Verschil bij EPARM %s\nWaarde in broncode is %5.2f, in regeling %d";

// ---- Verification of an adjustment: the first value the controller does not hold ----

inline constexpr char kClearanceVerifyFailed[] =
    "Fout bij verifi\xEBren ontruimingstijden van %s naar %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kVgVerifyFailed[] =
    "Fout bij verifi\xEBren VG-tijden van %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kGlVerifyFailed[] =
    "Fout bij verifi\xEBren GL-tijden van %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kMgVerifyFailed[] =
    "Fout bij verifi\xEBren MG-tijden van %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kGap1VerifyFailed[] =
    "Fout bij verifi\xEBren hiaattijden van %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kGap2VerifyFailed[] =
    "Fout bij verifi\xEBren extra hiaattijden van %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kOccupancyVerifyFailed[] =
    "Fout bij verifi\xEBren bezettijden van %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kTimerVerifyFailed[] =
    "Fout bij verifi\xEBren tijd %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kClock1VerifyFailed[] =
    "Fout bij verifi\xEBren klokken tijdstip 1 van %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kClock2VerifyFailed[] =
    "Fout bij verifi\xEBren klokken tijdstip 2 van %s\nWaarde is %5.2f, in regeling %d";
inline constexpr char kSwitchVerifyFailed[] =
    "Fout bij verifi\xEBren schakelaar %s\nWaarde is %d, in regeling %d";
inline constexpr char kEggparmVerifyFailed[] =
    "Fout bij verifi\xEBren EGGPARM %s\nWaarde is %d, in regeling %d";
inline constexpr char kEparmVerifyFailed[] =
    "Fout bij verifi\xEBren EPARM %s\nWaarde is %5.2f, in regeling %d";

// ---- Settings keys of the parameter tools (section "Hoofdvenster") ----

inline constexpr char kDifferencesPrefix[] = "VERSCHILLEN";
inline constexpr char kAdjustmentPrefix[] = "AANPAS";
inline constexpr char kSweepPrefix[] = "AFNAME";
// Behind the prefix and a blank, in kind order; the sweep has two keys for the switches.
inline constexpr const char* kKindKeySuffix[] = {"Ontruimingstijden", "VG-tijden", "GL-tijden", "MG-tijden",
                                                 "Hiaattijden",       "Tijden",    "Klokken",   "Schakelaars",
                                                 "EGGPARM",           "EPARM"};
inline constexpr char kSwitchesOnKeySuffix[] = "Schakelaar aan";
inline constexpr char kSwitchesOffKeySuffix[] = "Schakelaar uit";
inline constexpr char kSaveToFileKeySuffix[] = "Save to file";
inline constexpr char kSeparateFilesKeySuffix[] = "Save separate files";
inline constexpr char kFileNameKeySuffix[] = "File name";
inline constexpr char kSpeedKeySuffix[] = "Speed";
inline constexpr char kVerifyKey[] = "AANPAS Verify action";
inline constexpr char kStartValueKey[] = "AFNAME Beginwaarde parameters";
inline constexpr char kResetPerKindKey[] = "AFNAME Beginwaarde reset";
inline constexpr char kRememberOriginalsKey[] = "AFNAME Remind original values";

inline constexpr char kDifferencesFileDefault[] = "verschillen.txt";
inline constexpr char kAdjustmentFileDefault[] = "aangepast.txt";
inline constexpr char kSweepFileDefault[] = "afname.txt";

inline constexpr char kDifferencesSaveAsTitle[] = "Sla Verschillen-file op als:";
inline constexpr char kAdjustmentSaveAsTitle[] = "Sla Aangepast-file op als:";
inline constexpr char kSweepSaveAsTitle[] = "Sla Afname-file op als:";
inline constexpr char kParameterFileType[] = "*.txt";
inline constexpr char kParameterFileExtension[] = "txt";
inline constexpr char kDefinitionDirectoryLabel[] = "De te gebruiken Kalvoor bestanden staan in:";

// ---- Memory dump tool ----

inline constexpr char kDumpInitialStatus[] = "...<<status>>...";
inline constexpr char kDumpVerifySent[] = "Verifieren verzonden...";
inline constexpr char kDumpMakeSent[] = "Maak dump verzonden...";
inline constexpr char kDumpFetchSent[] = "Ophalen verzonden...";
inline constexpr char kDumpAbortSent[] = "Afbreken verzonden...";
inline constexpr char kDumpEnded[] = "EINDE DUMP";
inline constexpr char kDumpNoAnswer[] = "Geen reactie";
inline constexpr char kDumpCountFormat[] = "%d";
inline constexpr char kDumpFileKey[] = "DPCOM file name";
inline constexpr char kDumpFileDefault[] = "dpcom.dmp";
inline constexpr char kDumpSaveAsTitle[] = "Sla DUMP file op als:";
inline constexpr char kDumpFileType[] = "*.dmp";
inline constexpr char kDumpFileExtension[] = "dmp";

}  // namespace tavir::text
