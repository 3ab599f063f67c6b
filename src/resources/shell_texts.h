#pragma once
// Texts of the application shell, as CP1252 bytes.

namespace tavir::text {

// ---- Command line and settings file -------------------------------------------------------------

// Keywords of the command line, matched after the text has been upper-cased.
inline constexpr char kArgDpcom[] = "DPCOM";
inline constexpr char kArgAfname[] = "AFNAME";
inline constexpr char kArgParameters[] = "PARAMETERS";
inline constexpr char kArgVerschillen[] = "VERSCHILLEN";
inline constexpr char kArgCom1[] = "COM1";
inline constexpr char kArgCom2[] = "COM2";
inline constexpr char kArgCom3[] = "COM3";
inline constexpr char kArgCom4[] = "COM4";
inline constexpr char kArgComPort[] = "-C";
inline constexpr char kArgBaudRate[] = "-B";
inline constexpr char kArgDpcomShort[] = "-D";
inline constexpr char kArgAfnameShort[] = "-A";
inline constexpr char kArgParametersShort[] = "-P";
inline constexpr char kArgVerschillenShort[] = "-V";
inline constexpr char kArgIpAddress[] = "-IP";
inline constexpr char kArgIpPort[] = "-IPP";

// Message boxes of the command line.
inline constexpr char kCommandLineCaption[] = "TAVIR";
inline constexpr char kArgumentNotValid[] = "LOG : Geen geldig argument.\nArgument[%d]: %s";
inline constexpr char kSerialPortNotValid[] =
    "LOG : Geen geldig seri\xEBle-poort argument. \n"
    "Alleen poortnummers 1,2,3 en 4 zijn toegestaan.\n"
    "COM1 zal gebruikt worden.";
inline constexpr char kBaudRateNotValid[] =
    "LOG : Geen geldig baudrate argument.\n9600 baud zal gebruikt worden.";

// Settings file, its one section and the keys of the debugger window.
inline constexpr char kSettingsFileName[] = "tavir.ini";
inline constexpr char kSettingsSection[] = "Hoofdvenster";
inline constexpr char kKeyXPositie[] = "X-positie";
inline constexpr char kKeyYPositie[] = "Y-positie";
inline constexpr char kKeyBreedte[] = "Breedte";
inline constexpr char kKeyHoogte[] = "Hoogte";
inline constexpr char kKeyFontnaam[] = "Fontnaam";
inline constexpr char kKeyFontpuntgrootte[] = "Fontpuntgrootte";
inline constexpr char kKeyFontbreedte[] = "Fontbreedte";
inline constexpr char kFontNameUseDefault[] = "use default";

// ---- End of command line and settings file ------------------------------------------------------

}  // namespace tavir::text

// ---- Start-up, debugger window and its dialogs (GUI) ----
namespace tavir::text {

inline constexpr char kProgramCaption[] = "TAVIR.EXE";
inline constexpr char kClassCaption[] = "TAVIR.DLL";
inline constexpr char kErrorCaption[] = "Debugger Foutmelding";

inline constexpr char kEditItemClassFailed[] =
    "LOG : De item edit window class kon niet worden geregistreerd.";
inline constexpr char kCheckItemClassFailed[] =
    "LOG : De item check window class kon niet worden geregistreerd.";
inline constexpr char kItemClassFailed[] = "LOG : De item window class kon niet worden geregistreerd.";
inline constexpr char kChildClassFailed[] = "LOG : De child window class kon niet worden geregistreerd.";
inline constexpr char kMessageClassFailed[] = "LOG : De message window class kon niet worden geregistreerd.";
inline constexpr char kStartFailed[] = "De Kalvoor debugger kon niet worden opgestart.";

inline constexpr char kMainWindowTitle[] = "Debugger";
inline constexpr char kBaseTitleFormat[] = "Debugger %3.3d";
inline constexpr char kOpenFileTitleFormat[] = "Selecteer debug bestand van Kalvoor %3.3d";
inline constexpr char kOpenFileDefaultName[] = "?????_???.*";
inline constexpr char kOpenFileDefaultExtension[] = "QTZ";
// The open-file dialog's filter: description and pattern pairs, each ended by a NUL.
inline constexpr char kOpenFileFilter[] =
    "Debug Bestanden (debug_???.*)\0debug_???.*\0"
    "Debug Bestanden (?????_???.dbg)\0?????_???.dbg\0"
    "Alle Bestanden (*.*)\0*.*\0";
inline constexpr char kDefaultFontFace[] = "MS Sans Serif";

inline constexpr char kMacroFileIncorrect[] = "Het macrodefinitie bestand is niet correct. \n";
inline constexpr char kHeaderNotOpenedFormat[] =
    "Het applicatie definitie bestand '%s' \nkon niet worden geopend.";

inline constexpr char kDebugFilePattern[] = "DEBUG_???.*";
inline constexpr char kDebugFileAltPattern[] = "?????_???.DBG";

}  // namespace tavir::text
