#pragma once

#include "core/document/dialogs.h"
#include "core/windows/infotext.h"
#include "core/windows/layoutrules.h"

#include <QDialog>

#include <span>

class QPlainTextEdit;
class QPushButton;

namespace tafelbau {

/// The info window's inner size, 0 by 0 until it has been shown; kept by the
/// caller for the run and never stored.
struct InfoSession
{
    int width = 0;
    int height = 0;
};

/// " Tafelbau 0.583": the built-in info text, read-only, and "OK". The text
/// field and the button keep their places; the window cannot be sized by
/// the user and never becomes smaller than it was made.
class InfoWindow : public QDialog
{
    Q_OBJECT
public:
    /// Made at its remembered size, if any, centred on the screen; the text
    /// field stays empty until showInfoText().
    InfoWindow(InfoSession &session, float scale, QWidget *parent = nullptr);

    /// Unpacks `compressed` into the text field. A failure is reported
    /// through `dialogs` and leaves the field empty.
    void showInfoText(Dialogs &dialogs, std::span<const unsigned char> compressed = builtInInfoData());

    QPlainTextEdit *textField() const { return m_text; }
    QPushButton *okButton() const { return m_ok; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    InfoSession &m_session;
    LayoutRules m_layout;
    QPlainTextEdit *m_text;
    QPushButton *m_ok;
};

/// The menu command "Info": shows the window until it is closed.
void showInfo(InfoSession &session, Dialogs &dialogs, QWidget *parent, float scale);

} // namespace tafelbau
