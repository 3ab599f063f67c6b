#pragma once
// Texts of the controller link, as CP1252 bytes.

namespace tavir::text {

// ---- Serial and TCP transports ----

inline constexpr char kLinkCaption[] = "TAVIR.EXE";

inline constexpr char kPortNotOpened[] =
    "Fatale fout: de COM-poort kan niet geopend worden.\nControleer de COM-poortinstellingen.";
inline constexpr char kGetTimeoutsFailed[] =
    "Fatale fout: er is een fout opgetreden tijdens het instellen van de COM-poort (GetTimeOuts).\n"
    "Controleer de COM-poortinstellingen.";
inline constexpr char kSetTimeoutsFailed[] =
    "Fatale fout: er is een fout opgetreden tijdens het instellen van de COM-poort (SetTimeOuts).\n"
    "Controleer de COM-poortinstellingen.";
inline constexpr char kRaiseDtrFailed[] =
    "Fatale fout: er is een fout opgetreden tijdens het instellen van de COM-poort (Raise DTR).\n"
    "Controleer de COM-poortinstellingen.";
inline constexpr char kSerialThreadFailed[] =
    "Fatale fout: er is een fout opgetreden tijdens het instellen van de COM-poort (CreateThreads).\n"
    "Controleer de COM-poortinstellingen.";
inline constexpr char kGetCommStateFailed[] =
    "Er is een fout opgetreden tijdens het instellen van de COM-poort (GetCommState).\n"
    "                          Controleer de COM-poortinstellingen.";
inline constexpr char kSetCommStateFailed[] =
    "Er is een fout opgetreden tijdens het instellen van de COM-poort (SetCommState).\n"
    "                            Controleer de COM-poortinstellingen.";
inline constexpr char kApplyTimeoutsFailed[] =
    "Er is een fout opgetreden tijdens het instellen van de COM-poort (TimeOuts).\n"
    "                            Controleer de COM-poortinstellingen.";
inline constexpr char kModemStatusFailed[] =
    "Er is een fout opgetreden tijdens het instellen van de COM-poort (GetCommModemStatus).\n"
    "                          Controleer de COM-poortinstellingen.";
inline constexpr char kClearCommErrorFailed[] =
    "Er is een fout opgetreden tijdens het instellen van de COM-poort (ClearCommError).\n"
    "                          Controleer de COM-poortinstellingen.";
inline constexpr char kLowerDtrFailed[] =
    "Fatale fout: er is een fout opgetreden tijdens het afsluiten van de COM-poort (Lower DTR).\n"
    "Controleer de COM-poortinstellingen.";
inline constexpr char kRestoreTimeoutsFailed[] =
    "Fatale fout: er is een fout opgetreden tijdens het afsluiten van de COM-poort (TimeOuts).\n"
    "Controleer de COM-poortinstellingen.";
inline constexpr char kPurgeFailed[] =
    "Fatale fout: er is een fout opgetreden tijdens het afsluiten van de COM-poort (PurgeComm).\n"
    "Controleer de COM-poortinstellingen.";

inline constexpr char kTcpThreadFailed[] =
    "Fatale fout: er is een fout opgetreden tijdens het instellen van de IP-poort (CreateThreads).\n";
inline constexpr char kTcpFatalCaption[] = "TAVIR - IP communicatie probleem - einde programma";
inline constexpr char kWsaStartupFailed[] = "Error: calling WSAStartup()";
inline constexpr char kWsaCleanupFailed[] = "Error: calling WSACleanup()";
inline constexpr char kConnectFailed[] = "error calling connect():\n";
inline constexpr char kSendFailed[] = "error calling send():\n";
inline constexpr char kReceiveFailed[] = "error calling recv():\n";
inline constexpr char kReportTitle[] = "Error detect: ";
inline constexpr char kReportCode[] = "\t\t==> error code: ";
inline constexpr char kReportMessage[] = "\t\t==> error message: ";
inline constexpr char kReceiveTrace[] = "recvBytes = %d";

// ---- End of serial and TCP transports ----

}  // namespace tavir::text
