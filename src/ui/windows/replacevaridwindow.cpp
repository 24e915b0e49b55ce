#include "ui/windows/replacevaridwindow.h"

#include "core/document/displayscale.h"
#include "ui/document/widgetgeometry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace tafelbau {

ReplaceVarIdWindow::ReplaceVarIdWindow(float scale, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QString::fromUtf8("TB Varid ändern"));
    setFont(dialogFont(font()));
    auto *warning =
        new QLabel(QString::fromUtf8("Vorsicht! Diese Funktion prüft nicht, ob Varids doppelt\nvorkommen!"), this);
    placeScaled(warning, scale, 5, 20, 245, 60);
    // The warning's first line is wider in the sans at hand than in the font
    // these sizes were made for; the window grows by what it lacks instead
    // of wrapping the line or cutting it off.
    const int lacking = std::max(0, warning->sizeHint().width() - warning->width());
    warning->resize(warning->width() + lacking, warning->height());
    setFixedSize(scaledPixels(255, scale) + lacking, scaledPixels(170, scale));
    placeScaled(new QLabel(QStringLiteral("Prefix:"), this), scale, 10, 90, 50, 15);
    m_prefix = new QLineEdit(this);
    m_prefix->setToolTip(QStringLiteral("Wird am Anfang von den selektierten Varids eingefügt"));
    placeScaled(m_prefix, scale, 60, 85, 80, 20);
    // Labels may use the gap before their field: fonts here run a little
    // wider than the ones these sizes were made for.
    placeScaled(new QLabel(QStringLiteral("Ersetzen:"), this), scale, 10, 115, 50, 15);
    m_search = new QLineEdit(this);
    placeScaled(m_search, scale, 60, 110, 80, 20);
    placeScaled(new QLabel(QStringLiteral("mit"), this), scale, 145, 115, 20, 15);
    m_replacement = new QLineEdit(this);
    placeScaled(m_replacement, scale, 165, 110, 80, 20);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    placeScaled(ok, scale, 6, 144, 60, 20);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    placeScaled(cancel, scale, 76, 144, 60, 20);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace tafelbau
