// The programs number their commands as their menus always have (32771,
// 57600, 60001...), but wx takes window and menu ids only below 32767. Ids
// at or above that limit are moved down by a fixed offset into a range the
// programs' own small ids (controls, dialogs) and wx's stock ids (5000-5999)
// leave free, and moved back when an event names one.
#pragma once

namespace ulk {

inline constexpr int kWxIdLimit = 0x7fff;
inline constexpr int kWxIdOffset = 30000;

// The wx id of a command.
constexpr int WxId(int id) {
  return id >= kWxIdLimit ? id - kWxIdOffset : id;
}

// The command of a wx id (the inverse of WxId for every command id from
// 32767 to 62766 and every id below 2767).
constexpr int CommandOfWxId(int wxId) {
  return wxId >= kWxIdLimit - kWxIdOffset && wxId < kWxIdLimit ? wxId + kWxIdOffset : wxId;
}

static_assert(WxId(57600) == 27600 && CommandOfWxId(27600) == 57600);
static_assert(WxId(32771) == 2771 && CommandOfWxId(2771) == 32771);
static_assert(WxId(1006) == 1006 && CommandOfWxId(1006) == 1006);
static_assert(WxId(60020) < kWxIdLimit && WxId(61000) < kWxIdLimit);

}  // namespace ulk
