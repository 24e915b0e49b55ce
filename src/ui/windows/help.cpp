#include "ui/windows/help.h"

#include "ui/document/qtconvert.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace tafelbau {

HelpLaunch helpLaunchFor(const HelpTarget &target, const std::function<QString(const QString &)> &findExecutable)
{
    HelpLaunch launch;
    if (target.file.empty())
        return launch;
    // Pool texts are Latin-1; the file system takes what QUrl makes of the
    // characters.
    const QString file = QFileInfo(fromLatin1(target.file)).absoluteFilePath();
    launch.url = QUrl::fromLocalFile(file);

    // The only viewer found on Linux desktops that opens a page inside a
    // compiled help file on request; the others would show the start page,
    // which the desktop's own choice does as well.
    if (target.kind == HelpTarget::Kind::Compiled && !target.topic.empty()) {
        const QString viewer = findExecutable(QStringLiteral("kchmviewer"));
        if (!viewer.isEmpty()) {
            QString page = fromLatin1(target.topic);
            if (!page.startsWith(QLatin1Char('/')))
                page.prepend(QLatin1Char('/'));
            launch.program = viewer;
            launch.arguments = {QStringLiteral("-showPage"), page, file};
        }
    }
    return launch;
}

void openHelpAt(const HelpTarget &target)
{
    const HelpLaunch launch =
        helpLaunchFor(target, [](const QString &name) { return QStandardPaths::findExecutable(name); });
    if (!launch.program.isEmpty())
        QProcess::startDetached(launch.program, launch.arguments);
    else if (!launch.url.isEmpty())
        QDesktopServices::openUrl(launch.url);
}

} // namespace tafelbau
