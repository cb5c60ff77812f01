#include "web_page.h"

#include <QDesktopServices>

namespace planora {

QUrl MakerWebPage() { return QUrl(QStringLiteral("http://") + QLatin1String(kMakerHost)); }

UrlOpener DesktopUrlOpener() {
    // Whether a browser could be started is not examined.
    return [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

}  // namespace planora
