#pragma once

#include "core/document/gadgetrecord.h"
#include "core/pool/poolentry.h"
#include "core/windows/layoutrules.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tafelbau {

/// What the large-text editor keeps between two calls for the rest of the
/// run: the wrap width, 0 until the editor first closes.
struct LargeTextSession
{
    int wrapWidth = 0;
};

/// "Umfangreiche Texteingabe": a caption edited as several lines, which the
/// record holds joined by the pool's line-break code. The text area grows
/// with the window, the row below it moves down; the window never becomes
/// smaller than it was made.
class LargeTextEditor : public QDialog
{
    Q_OBJECT
public:
    /// `latin1Text` as the record holds it; `wrapWidth` of 0 shows 50.
    LargeTextEditor(const std::string &latin1Text, const std::string &lineBreakCode, int wrapWidth, float scale,
                    QWidget *parent = nullptr);

    /// The text area's content with every line break turned into the
    /// line-break code, Latin-1 ("?" for characters it cannot hold).
    std::string text() const;
    /// The wrap width field read as a whole number; empty gives 0.
    int wrapWidth() const;
    /// "Umbrechen:": re-wraps the whole text to the width in the field.
    void wrap();

    QPlainTextEdit *textArea() const { return m_text; }
    QLineEdit *lineBreakCodeField() const { return m_code; }
    QPushButton *wrapButton() const { return m_wrap; }
    QLineEdit *wrapWidthField() const { return m_width; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    /// The text area's content, Latin-1, line breaks as CR LF.
    std::string content() const;
    void setContent(const std::string &latin1Crlf);

    std::string m_lineBreakCode;
    LayoutRules m_layout;
    std::map<int, QWidget *> m_gadgets;
    QPlainTextEdit *m_text;
    QLineEdit *m_code;
    QPushButton *m_wrap;
    QLineEdit *m_width;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

/// The menu command "Grösseren Text bearbeiten" on `record`: runs the editor
/// until it closes and keeps the wrap width in `session` either way. Returns
/// true when the user left with "OK" -- the record's `text` is then stored
/// back, even unchanged, and the caller sets the change mark and redraws the
/// list and the card; false when cancelled, with the record untouched.
bool editLargeText(GadgetRecord &record, const PoolSettings &pool, LargeTextSession &session, QWidget *parent,
                   float scale);

} // namespace tafelbau
