#pragma once
// Texts of the message window and the debug window files, as CP1252 bytes. A "%d" is filled in
// with a number before the text is reported.

namespace tavir::text {

inline constexpr const char* kMessageTypePrefix[] = {
    "",                    // 1: plain line
    "waarschuwing : ",     // 2
    "fout : ",             // 3
    "systeem melding : ",  // 4
    "DEBUG MELDING : ",    // 5
};
inline constexpr char kUnknownMessageType[] = "SYSTEM: Unknow message type";
inline constexpr char kMessageLineRefused[] =
    "De laatste mededeling kon niet worden toegevoegd aan het mededelingen venster";
inline constexpr char kMessageLineRefusedCaption[] = "DEBUG MESSAGE";
inline constexpr char kMessageWindowText[] = "Mededelingen";

// Debug window file: the screen part.
inline constexpr char kScreenLineUnreadable[] =
    "Geen 'nieuwe regel' karakter aanwezig of meer dan %d karakters in deze regel.";
inline constexpr char kTooManyItems[] = "Meer dan %d debug items in dit debug venster bestand";
inline constexpr char kScreenItemTooLong[] = "Scherm item is langer dan %d karakters";
inline constexpr char kTwoDigitsExpected[] = "Code van twee cijfers verwacht";
inline constexpr char kTooManyLabels[] = "Meer dan %d omschrijvende teksten in dit debug venster bestand";

// Debug window file: the definition part.
inline constexpr char kDefinitionsMissing[] = "De bijbehorende item definities ontbreken volledig";
inline constexpr char kTwoDigitsAndBlankExpected[] = "Code van twee cijfers met daarna een spatie verwacht";
inline constexpr char kItemNotOnWindow[] = "Item nummer %d komt niet voor op het venster";
inline constexpr char kItemDefinedBefore[] = "Item nummer %d is al eerder gedefinieerd";
inline constexpr char kFunctionCodeMissing[] =
    "Van item nummer %d ontbreken de functie code en het signaalgroepnr";
inline constexpr char kFunctionCodeTooLarge[] = "Van item nummer %d is de functie code %d. ";
inline constexpr char kFunctionCodeLimit[] = "Dit moet kleiner zijn dan 512";
inline constexpr char kSignalGroupMissing[] = "Van item nummer %d ontbreekt het signaalgroepnr. ";
inline constexpr char kSignalGroupTooLarge[] = "Van item nummer %d is signaalgroepnr %d. ";
inline constexpr char kSignalGroupLimit[] = "Dit moet kleiner zijn dan 256";
inline constexpr char kInstanceTooLarge[] = "Van item nummer %d is signaalgroepnr/kruispuntnr %d. ";
inline constexpr char kInstanceLimit[] = "Dit moet kleiner zijn dan 26000";
inline constexpr char kBlockMissing[] = "Van item nummer %d ontbreekt het bloknr. ";
inline constexpr char kBlockTooLarge[] = "Van item nummer %d is het bloknr. %d. ";
inline constexpr char kBlockLimit[] = "Dit moet kleiner zijn dan 48.";
inline constexpr char kNameUndefinedBegin[] = "'";
inline constexpr char kNameUndefinedEnd[] = "' is niet gedefinieerd in de definitie bestanden.";
inline constexpr char kDigitsAndLetters[] = "Ongeoorloofde cijfer en letter combinatie: ";
inline constexpr char kDefinitionMissing[] = "Definitie lijst mist de definitie voor scherm item %d";
inline constexpr char kItemControlFailed[] = "Venster voor item %d kon niet worden aangemaakt";

// Debug window file: the item index.
inline constexpr char kItemFunctionTakenBegin[] = "De functie van item ";
inline constexpr char kItemFunctionTakenEnd[] = " is reeds eerder in dit scherm gedefinieerd.";

// The search for debug window files and the child windows.
inline constexpr char kDebugPathTooLong[] = ": Pad naar debug bestand is te lang: ";
inline constexpr char kReadingDebugFiles[] = ": Inlezen van de debug venster bestanden...";
inline constexpr char kNoDebugFiles[] = "Er zijn geen debug venster bestanden die voldoen aan dit pad.";
inline constexpr char kWindowLimitFormat[] = "Het maximum aantal van %d vensters is bereikt.";
inline constexpr char kWindowRemoved[] = " wordt verwijderd";
inline constexpr char kNoConnection[] = "Er is geen verbinding aanwezig.";
inline constexpr char kUnsavedChange[] =
    "De huidige wijziging is niet opgeslagen.\nWilt u deze wijziging alsnog opslaan?";
inline constexpr char kUnsavedChangeCaption[] = "TAVIR";
inline constexpr char kWindowListFile[] = "mkdebfls.txt";
// When the platform has no window left for a child window or its labels (its per-process limit on
// window handles), the message window says so instead of leaving the file out without a word.
inline constexpr char kChildWindowFailed[] = "Het debug venster kon niet worden aangemaakt.";
inline constexpr char kLabelsLeftOut[] = "%d omschrijvende teksten konden niet worden aangemaakt.";

}  // namespace tavir::text
