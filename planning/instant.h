#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Instants as a reader or a script wants them: ISO 8601 in UTC or in local time with its offset,
// and the offset of the C library's time zone. Digits and signs only, whatever the locale.
// An instant is whole seconds since 1970-01-01T00:00:00 UTC, leap seconds not counted.

namespace tarvex::planning {

// UTC to the second, ending in "Z"; years 1 to 9999.
//   0 -> "1970-01-01T00:00:00Z";  1796644607 -> "2026-12-07T11:56:47Z";
//   -1 -> "1969-12-31T23:59:59Z"
std::string IsoUtc(std::int64_t unix_seconds);

// Local time with its offset from UTC, in seconds east. An offset that is not whole minutes (a
// town's mean time before standard zones) keeps its seconds, as ISO 8601 cannot say otherwise.
//   (1796644607, 7200) -> "2026-12-07T13:56:47+02:00";  (1796644607, -12600) ->
//   "2026-12-07T08:26:47-03:30";  (1796644607, 0) -> "2026-12-07T11:56:47+00:00";
//   (1796644607, 8440) -> "2026-12-07T14:17:27+02:20:40"
std::string IsoLocal(std::int64_t unix_seconds, int utc_offset_seconds);

// The offset from UTC, in seconds east, of the C library's local time at an instant (TZ, else
// /etc/localtime), or none when no zone is known: TZ empty, TZ naming neither a zone file nor a
// POSIX rule (the C library would silently take UTC), or TZ unset without /etc/localtime.
//   TZ "EET-2EEST,M3.5.0/3,M10.5.0/4": 2026-12-07 -> 7200, 2026-07-01 -> 10800
//   TZ "Nowhere/Town" -> none;  TZ "" -> none
// Not thread-safe: it reads the C library's time zone state.
std::optional<int> LocalUtcOffset(std::int64_t unix_seconds);

}  // namespace tarvex::planning
