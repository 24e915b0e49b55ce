#include "ui/pool/pooleditor.h"

#include "core/document/displayscale.h"
#include "ui/document/qtconvert.h"
#include "ui/document/widgetgeometry.h"
#include "ui/pool/programtemplatesdialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QUrl>

namespace tafelbau {

namespace {

const char kSyntaxHelp[] =
    "Code Syntax - Code kann durch diese Werte ergänzt werden (mit besonderer Bedeutung für Tafelbau (TB)):\r\n\r\n"
    "[id]\tProgramminterne ID (Variablenname)\t\t[text]\tBeschriftung des Gadgets\r\n"
    "[x][y]\tx- und y-Koordinate (wird von TB verändert)\t[flags]\tFlags können mit TB bearbeitet werden\r\n"
    "[xd][yd]\tx- und y-Dimension (wird von TB verändert)\t[p0]-[p9]\tFreie Parameternamen (keine Defaultwerte "
    "möglich)";

bool samePool(const GdtPool &a, const GdtPool &b)
{
    return a.entries == b.entries && a.settings == b.settings;
}

} // namespace

PoolEditor::PoolEditor(GdtPool &pool, const std::filesystem::path &poolFile, float scale, Dialogs &dialogs,
                       QWidget *parent)
    : QDialog(parent), m_pool(pool), m_scale(scale), m_model(pool, poolFile, dialogs), m_poolAtOpening(pool)
{
    setWindowTitle(QStringLiteral("Gadget Pool"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(dialogFont(font()));
    const float f = scale;
    setFixedSize(scaledPixels(860, f), scaledPixels(570, f));
    buildGadgets();

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &PoolEditor::openHelp);

    editProgramTemplates = [this](const ProgramTemplates &templates) -> std::optional<ProgramTemplates> {
        ProgramTemplatesDialog dialog(templates, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.templates();
    };

    m_model.open();
    showModel();
}

PoolEditor::~PoolEditor() = default;

bool PoolEditor::poolChanged() const
{
    return !samePool(m_pool, m_poolAtOpening);
}

void PoolEditor::buildGadgets()
{
    const float f = m_scale;
    auto place = [f](QWidget *w, int x, int y, int width, int height) { placeScaled(w, f, x, y, width, height); };
    auto label = [&](const char *utf8, int x, int y, int width, int height) {
        auto *l = new QLabel(QString::fromUtf8(utf8), this);
        place(l, x, y, width, height);
        // A caption wider than its place in the font at hand runs on to the
        // right rather than being cut; the fields made later cover any overlap.
        if (l->sizeHint().width() > l->width())
            l->resize(l->sizeHint().width(), l->height());
    };
    auto lineEdit = [&](const char *key, int x, int y, int width, int height, const char *tip = nullptr) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(key));
        if (tip)
            e->setToolTip(QString::fromUtf8(tip));
        place(e, x, y, width, height);
        return e;
    };
    auto button = [&](const char *key, const char *caption, int x, int y, const char *tip) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(key));
        // Return in a field must not press a button.
        b->setAutoDefault(false);
        if (tip)
            b->setToolTip(QString::fromUtf8(tip));
        place(b, x, y, 60, 20);
        return b;
    };
    auto digitsOnly = [this](QLineEdit *e) {
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    };

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("poollist"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    place(m_list, 6, 5, 190, 510);
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_updating)
            return;
        run([this] {
            const auto selected = m_list->selectionModel()->selectedRows();
            m_model.setSelectedRow(selected.isEmpty() ? -1 : selected.first().row());
            m_model.takeOverShownEntry();
        });
    });

    auto *add = button("new", "Neu", 5, 520, "Fügt Werte von rechts als neuer Eintrag ein");
    auto *remove = button("delete", "Löschen", 70, 520, "Löscht den gewählten Eintrag");
    auto *save = button("save", "Speichern", 5, 545, nullptr);
    auto *cancel = button("cancel", "Abbrechen", 70, 545, nullptr);
    connect(add, &QPushButton::clicked, this, [this] { run([this] { m_model.addNew(); }); });
    connect(remove, &QPushButton::clicked, this, [this] { run([this] { m_model.deleteSelected(); }); });
    connect(save, &QPushButton::clicked, this, [this] {
        PoolEditModel::Leave how = PoolEditModel::Leave::Stay;
        run([&] { how = m_model.save(); });
        leave(how);
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        PoolEditModel::Leave how = PoolEditModel::Leave::Stay;
        run([&] { how = m_model.cancel(); });
        leave(how);
    });

    label("Name:", 200, 5, 35, 15);
    m_name = lineEdit("name", 235, 2, 605, 20, "Name des Gadgets (wird in Liste gezeigt - muss einmalig sein)");
    label("Codezeilen(n):", 200, 30, 60, 15);
    label("Suchmaske Import:", 310, 30, 100, 15);
    m_importcode = lineEdit("importcode", 410, 25, 345, 20);
    label("Wert Trenner:", 760, 30, 75, 15);
    m_importwerttrenn = lineEdit("importwerttrenn", 835, 25, 20, 20);

    m_code = new QPlainTextEdit(this);
    m_code->setObjectName(QStringLiteral("code"));
    // Template and flags are made of lines; a wrapped line would read as two.
    m_code->setLineWrapMode(QPlainTextEdit::NoWrap);
    place(m_code, 200, 45, 655, 205);

    m_syntax = new QPlainTextEdit(this);
    m_syntax->setObjectName(QStringLiteral("syntaxhelp"));
    m_syntax->setReadOnly(true);
    m_syntax->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_syntax->setPlainText(QString::fromUtf8(kSyntaxHelp).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // Columns at every eighth average character, as the help text's tabs
    // were laid out for.
    m_syntax->setTabStopDistance(8.0 * m_syntax->fontMetrics().averageCharWidth());
    // Narrow margins let the five lines fit the field's height.
    m_syntax->document()->setDocumentMargin(1);
    place(m_syntax, 200, 255, 655, 70);

    label("0 (Defaultwert:Name = Wert):", 200, 335, 165, 15);
    m_flags = new QPlainTextEdit(this);
    m_flags->setObjectName(QStringLiteral("flags"));
    m_flags->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_flags->setToolTip(QString::fromUtf8("Defaultwert '1' bedeutet, dass dieses Flag gesetzt wird."));
    place(m_flags, 200, 350, 160, 190);
    label("Flag Trenner:", 200, 550, 65, 15);
    m_flagsep = lineEdit("flagsep", 270, 545, 90, 20,
                         "Zeichen welches zwischen mehreren Flags stehen (z.B. ODER-Verknüpfung '|')");

    label("Namen Freie Parameter:", 395, 335, 280, 15);
    for (int i = 0; i < 10; ++i) {
        const int column = i < 5 ? 0 : 160;
        const int row = 25 * (i % 5);
        const std::string caption = "P" + std::to_string(i) + ":";
        const std::string key = "p" + std::to_string(i);
        label(caption.c_str(), 370 + column, 360 + row, 20, 15);
        m_p[static_cast<std::size_t>(i)] = lineEdit(key.c_str(), 390 + column, 355 + row, 125, 20);
    }

    m_dontshow = new QCheckBox(QStringLiteral("Nicht anzeigen (Code)"), this);
    m_dontshow->setObjectName(QStringLiteral("dontshow"));
    m_dontshow->setToolTip(QString::fromUtf8("Gadget welches nicht dargestellt wird (z.B. Code)"));
    place(m_dontshow, 700, 335, 130, 15);

    label("Rahmen-Farbe:", 700, 380, 80, 15);
    m_colour = lineEdit("color", 785, 377, 60, 20, "Mit dieser Farbe wird der Rahmen des Gadget dargestellt");
    m_colour->setReadOnly(true);
    m_colour->installEventFilter(this);

    m_xy0 = new QCheckBox(QStringLiteral("XY ignor. b. Zeichnen"), this);
    m_xy0->setObjectName(QStringLiteral("xy0"));
    m_xy0->setToolTip(QString::fromUtf8("X,Y werden beim Zeichnen auf 0 gesetzt (dies ist für Gadgets, welche Karten "
                                        "sind - z.B. Fenster). Im Code werden die Werte von X und Y verwendet..."));
    place(m_xy0, 700, 400, 130, 15);

    label("Standardwerte:", 700, 420, 75, 15);
    label("X:", 700, 441, 15, 15);
    m_x = lineEdit("x", 715, 436, 45, 20);
    label("Y:", 700, 466, 15, 15);
    m_y = lineEdit("y", 715, 461, 45, 20);
    label("Xd:", 770, 441, 15, 15);
    m_xd = lineEdit("xd", 785, 436, 45, 20);
    label("Yd:", 770, 466, 15, 15);
    m_yd = lineEdit("yd", 785, 461, 45, 20);
    for (QLineEdit *e : {m_x, m_y, m_xd, m_yd})
        digitsOnly(e);

    // Beyond the original window: the main program's templates, in the
    // free corner under the default values.
    QPushButton *templates = button("programtemplates", "Programmvorlagen …", 700, 492,
                                    "Vorlagen für \"Programm erzeugen\": das Hauptprogramm um die Code-Datei");
    place(templates, 700, 492, 155, 20);
    connect(templates, &QPushButton::clicked, this, [this] {
        if (const auto edited = editProgramTemplates(m_model.programTemplates()))
            run([&] { m_model.setProgramTemplates(*edited); });
    });

    label("Hilfedatei:", 370, 525, 60, 15);
    m_helpfile = lineEdit("helpfile", 430, 520, 425, 20,
                          "Hilfedatei Programmiersprache (wenn leer, wird generelle Konfiguration verwendet)");
    label("Hilfethema:", 370, 550, 60, 15);
    m_helptopic = lineEdit("helptopic", 430, 545, 425, 20,
                           "Thema in Hilfe... (in HTML_Hilfe findet man das per Rechtsklick heraus)");
}

void PoolEditor::readFields()
{
    PoolEntryFields &f = m_model.fields();
    f.name = toLatin1(m_name->text());
    f.code = multiLineToLatin1(m_code->toPlainText());
    f.importcode = toLatin1(m_importcode->text());
    f.importwerttrenn = toLatin1(m_importwerttrenn->text());
    f.x = toLatin1(m_x->text());
    f.y = toLatin1(m_y->text());
    f.xd = toLatin1(m_xd->text());
    f.yd = toLatin1(m_yd->text());
    f.xy0 = m_xy0->isChecked();
    f.flags = multiLineToLatin1(m_flags->toPlainText());
    f.flagsep = toLatin1(m_flagsep->text());
    for (std::size_t i = 0; i < m_p.size(); ++i)
        f.p[i] = toLatin1(m_p[i]->text());
    f.helpfile = toLatin1(m_helpfile->text());
    f.helptopic = toLatin1(m_helptopic->text());
    f.dontshow = m_dontshow->isChecked();
    // The colour field is read-only: only the model changes it.
}

void PoolEditor::showModel()
{
    m_updating = true;
    QStringList rows;
    for (const std::string &name : m_model.rows())
        rows << fromLatin1(name);
    QStringList shownRows;
    for (int i = 0; i < m_list->count(); ++i)
        shownRows << m_list->item(i)->text();
    if (rows != shownRows) {
        m_list->clear();
        m_list->addItems(rows);
    }
    m_list->clearSelection();
    if (m_model.selectedRow() >= 0)
        m_list->setCurrentRow(m_model.selectedRow(), QItemSelectionModel::ClearAndSelect);

    const PoolEntryFields &f = m_model.fields();
    auto setText = [](QLineEdit *e, const std::string &s) {
        const QString t = fromLatin1(s);
        if (e->text() != t)
            e->setText(t);
    };
    auto setPlain = [](QPlainTextEdit *e, const std::string &s) {
        const QString t = multiLineFromLatin1(s);
        if (e->toPlainText() != t)
            e->setPlainText(t);
    };
    setText(m_name, f.name);
    setPlain(m_code, f.code);
    setText(m_importcode, f.importcode);
    setText(m_importwerttrenn, f.importwerttrenn);
    setText(m_x, f.x);
    setText(m_y, f.y);
    setText(m_xd, f.xd);
    setText(m_yd, f.yd);
    m_xy0->setChecked(f.xy0);
    setPlain(m_flags, f.flags);
    setText(m_flagsep, f.flagsep);
    for (std::size_t i = 0; i < m_p.size(); ++i)
        setText(m_p[i], f.p[i]);
    setText(m_helpfile, f.helpfile);
    setText(m_helptopic, f.helptopic);
    m_dontshow->setChecked(f.dontshow);
    setText(m_colour, f.color);
    QPalette palette = m_colour->palette();
    if (f.colorBackground) {
        const QColor c = colourOf(*f.colorBackground);
        palette.setColor(QPalette::Base, c);
        // The number stays readable on dark colours.
        palette.setColor(QPalette::Text, c.lightness() < 128 ? Qt::white : Qt::black);
    } else {
        palette = QPalette();
    }
    m_colour->setPalette(palette);
    m_updating = false;
}

void PoolEditor::run(const std::function<void()> &command)
{
    readFields();
    command();
    showModel();
}

void PoolEditor::leave(PoolEditModel::Leave how)
{
    if (how != PoolEditModel::Leave::Close)
        return;
    m_left = true;
    emit poolEditorClosed(poolChanged());
    done(QDialog::Accepted);
}

void PoolEditor::closeEvent(QCloseEvent *event)
{
    if (m_left) {
        event->accept();
        return;
    }
    PoolEditModel::Leave how = PoolEditModel::Leave::Stay;
    run([&] { how = m_model.requestClose(); });
    if (how == PoolEditModel::Leave::Stay) {
        event->ignore();
        return;
    }
    event->accept();
    leave(how);
}

bool PoolEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_colour) {
        // Once per click, or when Tab brings the focus: not when the focus
        // comes back to the field as the colour chooser closes, which would
        // open the chooser again and again.
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            chooseColour();
            return true;
        }
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
                chooseColour();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PoolEditor::chooseColour()
{
    run([this] { m_model.chooseFrameColour(); });
}

void PoolEditor::openHelp()
{
    readFields();
    if (m_openHelp)
        m_openHelp(m_model.helpTarget());
}

} // namespace tafelbau
