// The maker's web page, opened in the user's browser by the "Updates" button
// of the splash window and by the About menu.
#pragma once

#include <QUrl>

#include <functional>

namespace planora {

inline constexpr char kMakerHost[] = "www.planora-viewer.org";

// "http://" + the maker's host.
QUrl MakerWebPage();

// How a web page is opened; the program uses QDesktopServices, tests record.
using UrlOpener = std::function<void(const QUrl&)>;
UrlOpener DesktopUrlOpener();

}  // namespace planora
