#pragma once
#include <cstdint>

namespace tavir::sim {

// The function codes the simulated controller gives a meaning to: the numbers of the built-in
// macro names (category base plus number). Every other code is plain memory.
namespace fc {

// Category 1, one-off helpers with a 16-bit element number: the parameter settings.
constexpr int32_t kEparm = 32;    // inst_EPARM, tenths
constexpr int32_t kEggparm = 33;  // inst_EGGPARM, integer
constexpr int32_t kTimer = 34;    // inst_TIJD, tenths

// Category 2, per signal group.
constexpr int32_t kRequest = 64;  // A: a detector asked for green

// Category 4, per block: the stage of the fixed-time plan that is realised.
constexpr int32_t kBlock = 128;  // BLOK

// Category 8, states of a signal group.
constexpr int32_t kWaitRed = 256;         // WR
constexpr int32_t kGuaranteedRed = 257;   // ROG
constexpr int32_t kRedBeforeGreen = 258;  // RVG
constexpr int32_t kFixedGreen = 259;      // VG
constexpr int32_t kExtendGreen = 260;     // VAG1e
constexpr int32_t kWaitGreen = 261;       // WG
constexpr int32_t kExtendGreen2 = 262;    // VAG2e
constexpr int32_t kFollowGreen = 263;     // MVG
constexpr int32_t kRed = 264;             // R
constexpr int32_t kGreen = 265;           // G
constexpr int32_t kAmber = 266;           // GL

// Category 9, running times of a signal group, in tenths of a second (0 when not running).
constexpr int32_t kFixedGreenRunning = 288;       // VG_TIJD
constexpr int32_t kGuaranteedGreenRunning = 291;  // GG_TIJD
constexpr int32_t kGuaranteedRedRunning = 292;    // GR_TIJD
constexpr int32_t kAmberRunning = 293;            // GL_TIJD
constexpr int32_t kMaxGreenRunning = 294;         // MG_TIJD

// Category 10, time settings of a signal group, in tenths.
constexpr int32_t kFixedGreenTime = 320;       // inst_VG_TIJD
constexpr int32_t kGuaranteedGreenTime = 323;  // inst_GG_TIJD
constexpr int32_t kGuaranteedRedTime = 324;    // inst_GR_TIJD
constexpr int32_t kAmberTime = 325;            // inst_GL_TIJD
constexpr int32_t kMaxGreenTime = 326;         // inst_MG_TIJD
constexpr int32_t kExtraMaxGreenTime1 = 331;   // inst_MG_TIJD1 .. 6 at 331 .. 336
constexpr int32_t kExtraMaxGreenTime7 = 339;   // inst_MG_TIJD7 .. 12 at 339 .. 344
constexpr int32_t kInternalState = 345;        // interne_toestand: 0 red, 1 green, 2 amber

// Category 11 and 12, between two signal groups (number from, block to).
constexpr int32_t kClearanceRunning = 352;  // O_TIJD, tenths
constexpr int32_t kClearanceTime = 384;     // inst_O_TIJD, tenths

// Category 13, flags with a 12-bit element number.
constexpr int32_t kClockActive = 417;       // KL
constexpr int32_t kSwitch = 420;            // SCH
constexpr int32_t kDetectorOccupied = 426;  // D
constexpr int32_t kOccupancyRunning = 431;  // B_TIJD
constexpr int32_t kGapRunning = 432;        // H_TIJD

// Category 14, values with a 12-bit element number.
constexpr int32_t kClockTime1 = 450;     // inst_1e_KL, hours * 100 + minutes
constexpr int32_t kClockTime2 = 451;     // inst_2e_KL
constexpr int32_t kOccupiedFor = 462;    // DVWD: tenths the detector has been occupied
constexpr int32_t kOccupancyTime = 463;  // inst_B_TIJD, tenths
constexpr int32_t kGapTime1 = 465;       // inst_H_TIJD1, tenths
constexpr int32_t kGapTime2 = 466;       // inst_H_TIJD2, tenths

// Category 15, counters (no number).
constexpr int32_t kCycleCounter = 480;  // ronde_teller
constexpr int32_t kDate = 481;          // datum, DDMMYY
constexpr int32_t kTime = 482;          // tijd, HHMMSS
constexpr int32_t kWeekday = 483;       // dag, 1 maandag .. 7 zondag
constexpr int32_t kVersion = 488;       // versie
constexpr int32_t kDayOfMonth = 489;    // dagnummer
constexpr int32_t kMonth = 490;         // maandnummer
constexpr int32_t kYear = 491;          // jaarnummer

}  // namespace fc
}  // namespace tavir::sim
