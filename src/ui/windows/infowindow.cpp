#include "ui/windows/infowindow.h"

#include "core/document/displayscale.h"
#include "core/document/latin1.h"
#include "ui/document/qtconvert.h"
#include "ui/document/widgetgeometry.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

#include <new>

namespace tafelbau {

namespace {

constexpr int kWindow = 1;

} // namespace

InfoWindow::InfoWindow(InfoSession &session, float scale, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_session(session)
{
    setWindowTitle(QStringLiteral("Info"));
    setFont(dialogFont(font()));
    const int width = scaledPixels(400, scale);
    const int height = scaledPixels(300, scale);

    m_text = new QPlainTextEdit(this);
    placeScaled(m_text, scale, 5, 5, 390, 255);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    placeScaled(m_ok, scale, 155, 270, 80, 20);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_layout.setLayoutRule(kWindow, LayoutRules::kWholeWindow, scaledPixels(10, scale), scaledPixels(10, scale), width,
                           height);
    // No sizing border: the text field would not follow it anyway.
    setFixedSize(width, height);

    setWindowTitle(QStringLiteral(" Tafelbau 0.583"));
    if (m_session.width != 0 || m_session.height != 0)
        resize(m_session.width, m_session.height);

    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(this->width() / 2, this->height() / 2));
    }
}

void InfoWindow::showInfoText(Dialogs &dialogs, std::span<const unsigned char> compressed)
{
    const UnpackedInfo info = unpackInfoText(compressed);
    if (info.failure != InfoFailure::None) {
        dialogs.showMessage(latin1ToUtf8(infoFailureMessage(info.failure)));
        return;
    }
    m_text->setPlainText(fromLatin1(info.text));
}

void InfoWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const LayoutRules::Outcome out = m_layout.applyLayout(kWindow, width(), height(), {});
    if (out.hasRule && (out.width != width() || out.height != height()))
        resize(out.width, out.height);
    m_session.width = width();
    m_session.height = height();
}

void showInfo(InfoSession &session, Dialogs &dialogs, QWidget *parent, float scale)
{
    InfoWindow *window = nullptr;
    try {
        window = new InfoWindow(session, scale, parent);
    } catch (const std::bad_alloc &) {
        dialogs.showMessage(latin1ToUtf8(infoFailureMessage(InfoFailure::WindowNotOpened)));
        return;
    }
    window->showInfoText(dialogs);
    window->exec();
    delete window;
}

} // namespace tafelbau
