// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names for the interface texts the core refers to, each with its number in
// the table of interface texts (ui_text_tables.cpp) in plain sight, since the
// texts are known by their numbers. A text gets its name here, once.
namespace k3n::ui {

inline constexpr int kRxFreq = 16;   // "RX Freq."
inline constexpr int kTxFreq = 17;   // "TX Freq."
inline constexpr int kPriorityScan = 55;   // "Priority Scan"
inline constexpr int kOff = 75;   // "OFF" of the settings lists
inline constexpr int kScrambleNo = 172;   // "Scramble No."
inline constexpr int kSignalingNo = 176;   // "Signaling No."
inline constexpr int kScanSettings = 184;   // "Scan Settings"
inline constexpr int kEmergencySettings = 185;   // "Emergency Settings"
inline constexpr int kCall1 = 238;   // "Call 1"
inline constexpr int kCall2 = 239;   // "Call 2"
inline constexpr int kDesignatedChannel = 245;   // "Designated Channel"
inline constexpr int kDualWatchChannel = 249;   // "Daul Watch Channel"
inline constexpr int kHomeChannel = 250;   // "Home Channel"
inline constexpr int kDisable = 252;   // "Diable"
inline constexpr int kChannel = 259;   // "Channel"
inline constexpr int kEncodeSystem = 265;   // "Encode System"
inline constexpr int kEncodeSelect = 266;   // "Encode Select"
inline constexpr int kSystem = 273;   // "System"
inline constexpr int kEncode = 274;   // "Encode"
inline constexpr int kDecode = 275;   // "Decode"
inline constexpr int kPttCall = 278;   // "PTT Call"
inline constexpr int kAutoReset = 280;   // "Auto Reset (s)"
inline constexpr int kAniLock = 281;   // "ANI Lock (s)"
inline constexpr int kLeadIn = 282;   // "Lead In (ms)"
inline constexpr int kLeadOut = 283;   // "Lead Out (ms)"
inline constexpr int kGroupTone = 285;   // "Group Tone"
inline constexpr int kCall = 306;   // "Call "
inline constexpr int kId = 307;   // "Id "
inline constexpr int kCode = 311;   // "Code"
inline constexpr int kTranspond = 319;   // "Transpond"
inline constexpr int kRepeat = 321;   // "Rep"
inline constexpr int kMute = 336;   // "Mute"
inline constexpr int kNoLimit = 337;   // "Nolimit"
inline constexpr int kScrambleSet = 338;   // "Scramble Set"
inline constexpr int kFrequencyRange = 341;   // "Frequency Range"
inline constexpr int kLastProgramData = 345;   // "Last Program Data"
inline constexpr int kSerialNumber = 346;   // "Serial Number"

} // namespace k3n::ui
