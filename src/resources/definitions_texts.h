#pragma once
// Texts of the macro, header and table-source readers, as CP1252 bytes.

namespace tavir::text {

// Loading an application: the announcement of each file and the refused header path.
inline constexpr char kMacroFileName[] = "macrodef.qtz";
inline constexpr char kReadingMacroFile[] = " : Inlezen van het macro definitie bestand.";
inline constexpr char kHeaderFileName[] = "KVAPDEF.H";
inline constexpr char kHeaderPathTooLong[] = ": Pad naar Kalvoor definitie bestand is te lang: ";
inline constexpr char kReadingHeaderFile[] = " : Inlezen van het Kalvoor definitie bestand.";

// Built-in macro text.
inline constexpr char kMacroValueInvalidBegin[] = "De definitie waarde ";
inline constexpr char kMacroValueInvalidEnd[] = " is ongeldig.";
inline constexpr char kMacroNumberTooLarge[] = ": maximum nummer is 31";
inline constexpr char kStateMacrosNeedSignalGroup[] = ": toestand macro's hebben signaal groep nummer";
inline constexpr char kTimeMacrosNeedSignalGroup[] = ": tijd macro's hebben signaal groep nummer";
inline constexpr char kUserMacrosNeedSequence[] = ": user defined macro's hebben volgnummer";

// Built-in macro text and application header.
inline constexpr char kDefinitionTableFullBegin[] = "Kan de definitie '";
inline constexpr char kDefinitionTableFullEnd[] = "' niet meer toevoegen aan de definitie tabel";

// Application header.
inline constexpr char kHeaderValueInvalidBegin[] = "De definitie waarde '";
inline constexpr char kHeaderValueInvalidEnd[] = "' is ongeldig.";

// Text files.
inline constexpr char kFileCannotBeOpened[] = "Dit bestand kon niet worden geopend.";
inline constexpr char kFileOutOfMemory[] = "Niet voldoende geheugen voor het openen van dit bestand.";

}  // namespace tavir::text
