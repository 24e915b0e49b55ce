#pragma once

#include "core/pool/helptarget.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace tafelbau {

/// How one help target is opened: a viewer program started with its
/// arguments, or, when `program` is empty, `url` handed to the desktop.
struct HelpLaunch
{
    QString program;
    QStringList arguments;
    QUrl url;
};

/// Compiled help with a topic goes to kchmviewer when `findExecutable` finds
/// it, as "-showPage /topic file"; everything else, and every file when no
/// such viewer is there, is opened as a local file by the desktop. Relative
/// file names count from the working folder. An empty file gives nothing to
/// open (an empty url and no program).
HelpLaunch helpLaunchFor(const HelpTarget &target, const std::function<QString(const QString &)> &findExecutable);

/// Opens the help of `target` without waiting and without a shell; the
/// outcome is not examined.
void openHelpAt(const HelpTarget &target);

} // namespace tafelbau
