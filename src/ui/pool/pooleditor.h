#pragma once

#include "core/document/dialogs.h"
#include "core/pool/gdtpool.h"
#include "core/pool/pooleditmodel.h"
#include "core/pool/programtemplates.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tafelbau {

/// The pool editor window, `Window_GadgetPool`: the pool's entry names on
/// the left, the fields of the shown entry on the right. Edits go straight
/// into the pool; the pool file is written only on "Speichern" or a Yes
/// to the close question, and read again when the window is left otherwise.
///
/// Run it with exec(); a test may show() it and click its widgets instead.
/// The widgets carry the pool file's key names as object names ("name",
/// "code", "color", ...; "poollist", "new", "delete", "save", "cancel",
/// "syntaxhelp", "programtemplates").
class PoolEditor : public QDialog
{
    Q_OBJECT
public:
    /// Edits `pool`, read from and saved to `poolFile`; `scale` is the
    /// display scale factor.
    PoolEditor(GdtPool &pool, const std::filesystem::path &poolFile, float scale, Dialogs &dialogs,
               QWidget *parent = nullptr);
    ~PoolEditor() override;

    /// Whether the pool (entries or settings) differs from what it was when
    /// the window opened; the gadget chooser then needs refilling.
    bool poolChanged() const;

    /// What F1 does with the help target of the shown entry; nothing until
    /// one is set.
    void setHelpOpener(std::function<void(const HelpTarget &)> opener) { m_openHelp = std::move(opener); }

    PoolEditModel &model() { return m_model; }

    /// "Programmvorlagen …": the templates edited, or nullopt when cancelled.
    /// The dialog by default; a test puts its answer here.
    std::function<std::optional<ProgramTemplates>(const ProgramTemplates &)> editProgramTemplates;

signals:
    /// The window has closed, by any of its ways out.
    void poolEditorClosed(bool poolChanged);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    /// Escape does nothing: leaving reads the pool file over the field edits.
    void reject() override {}

private:
    void buildGadgets();
    void readFields();
    void showModel();
    void run(const std::function<void()> &command);
    void leave(PoolEditModel::Leave how);
    void chooseColour();
    void openHelp();

    GdtPool &m_pool;
    float m_scale;
    PoolEditModel m_model;
    GdtPool m_poolAtOpening;
    std::function<void(const HelpTarget &)> m_openHelp;
    bool m_updating = false;
    bool m_left = false;

    QListWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_importcode = nullptr;
    QLineEdit *m_importwerttrenn = nullptr;
    QPlainTextEdit *m_code = nullptr;
    QPlainTextEdit *m_syntax = nullptr;
    QPlainTextEdit *m_flags = nullptr;
    QLineEdit *m_flagsep = nullptr;
    std::array<QLineEdit *, 10> m_p{};
    QCheckBox *m_dontshow = nullptr;
    QLineEdit *m_colour = nullptr;
    QCheckBox *m_xy0 = nullptr;
    QLineEdit *m_x = nullptr;
    QLineEdit *m_y = nullptr;
    QLineEdit *m_xd = nullptr;
    QLineEdit *m_yd = nullptr;
    QLineEdit *m_helpfile = nullptr;
    QLineEdit *m_helptopic = nullptr;
};

} // namespace tafelbau
