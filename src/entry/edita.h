// EDITA and MOSTRA: running a browse profile. EDITA builds the profile asked
// for, selects its work area and runs it in its window through MOSTRA; MOSTRA
// opens the window, runs the record browser and commits the open tables.
#ifndef DODU_ENTRY_EDITA_H_
#define DODU_ENTRY_EDITA_H_

#include "entry/entry_context.h"
#include "entry/profile.h"
#include "platform/status.h"
#include "screen/keys.h"

namespace dodu::entry {

// The numbered window of the general browse frame and of the lookup frame.
inline constexpr int kBrowseWindow = 2;
inline constexpr int kLookupWindow = 6;

// EDITA(profile, option): hides deleted records in the profile's area, clears
// the memory of the last key, takes Alt U away from the screen while the
// profile runs and gives it back (to hot_keys.monthly_values) at the end.
// Answers the key the user left with. kNotFound for a profile nobody
// registered or an area with no table open; the browser's errors.
Result<screen::Key> EDITA(EntryContext& ec, const ProfileRegistry& registry, int profile,
                          int option = 0);

// MOSTRA(top, left, bottom, right, frame, area): runs the record browser on
// `profile` inside the rectangle. frame 1 or 2 opens the general browse window
// (window 2), 6 the lookup window (window 6), 0 draws inside what is on the
// screen; 1 and 6 close it again at the end, 2 leaves it. `area` 0 keeps the
// profile's (or the current) area. A profile with fewer columns than N_CAM is
// not shown (an empty key). At the end every open table is committed to disk.
Result<screen::Key> MOSTRA(EntryContext& ec, Profile& profile, BrowseRect rect, int frame,
                           int area = 0);

// Syncs every table open in the work areas.
Status CommitAll(store::WorkAreas& areas);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_EDITA_H_
