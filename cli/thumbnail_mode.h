// planora-convert --thumbnail SIZE INPUT OUTPUT: the thumbnailer of the
// desktop's file managers (dist/planora.thumbnailer runs it with %s %i %o).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace planora::cli {

// File managers run this on every picture they list, in GNOME inside a
// sandbox with no home folder and no display, and with INPUT named without
// its extension. So it reads only INPUT and knows the picture by content,
// keeps the picture and the file well below the program's memory budget,
// ends itself when the deadline passes, and writes OUTPUT, a PNG whose larger
// side is at most SIZE, only once the whole thumbnail is made. Returns the
// exit status: 0 written, 1 failed (nothing written).
int RunThumbnail(int32_t size, const std::string& input, const std::string& output, std::ostream& err);

// The limits, for the tests and the manual page.
constexpr unsigned kThumbnailDeadlineSeconds = 5;
constexpr int64_t kThumbnailByteBudget = int64_t{256} << 20;  // picture arrays
constexpr int64_t kThumbnailMaxFileBytes = int64_t{256} << 20;

}  // namespace planora::cli
