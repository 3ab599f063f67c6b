#pragma once
// Texts of the message window, as CP1252 bytes.

namespace tavir::text {

inline constexpr const char* kMessageTypePrefix[] = {
    "",                     // 1: plain line
    "waarschuwing : ",      // 2
    "fout : ",              // 3
    "systeem melding : ",   // 4
    "DEBUG MELDING : ",     // 5
};
inline constexpr char kUnknownMessageType[] = "SYSTEM: Unknow message type";
inline constexpr char kMessageLineRefused[] =
    "De laatste mededeling kon niet worden toegevoegd aan het mededelingen venster";
inline constexpr char kMessageLineRefusedCaption[] = "DEBUG MESSAGE";
inline constexpr char kMessageWindowText[] = "Mededelingen";

}  // namespace tavir::text
