#include "core/pool/pooleditmodel.h"

#include "core/document/groupnames.h"
#include "core/document/latin1.h"
#include "core/document/multiline.h"
#include "core/pool/poolfile.h"

#include <utility>

namespace tafelbau {

namespace {

void tell(Dialogs &dialogs, const std::string &latin1)
{
    dialogs.showMessage(latin1ToUtf8(latin1));
}

const char kNameTaken[] = "Name ist schon vorhanden - bitte einen anderen w\xE4hlen";

} // namespace

PoolEditModel::PoolEditModel(GdtPool &pool, std::filesystem::path poolFile, Dialogs &dialogs)
    : m_pool(pool), m_poolFile(std::move(poolFile)), m_dialogs(dialogs)
{
}

void PoolEditModel::setSelectedRow(int row)
{
    m_selected = (row >= 0 && row < static_cast<int>(m_rows.size())) ? row : -1;
}

int PoolEditModel::rowOf(const std::string &name) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i] == name)
            return static_cast<int>(i);
    return -1;
}

void PoolEditModel::open()
{
    refreshPoolList();
    m_shown.clear();
    takeOverShownEntry();
}

void PoolEditModel::refreshPoolList()
{
    m_pool.sortIntoPoolOrder();
    // The row number, not the entry, is kept: after a rename that moves an
    // entry, whatever now stands at that row is shown.
    const int row = m_selected >= 0 ? m_selected : 0;
    m_rows.clear();
    m_rows.reserve(m_pool.entries.size());
    for (const PoolEntry &e : m_pool.entries)
        m_rows.push_back(e.name);
    setSelectedRow(row);
    m_shown = m_selected >= 0 ? m_rows[static_cast<std::size_t>(m_selected)] : std::string();
    if (!m_shown.empty())
        showPoolEntry(m_shown);
}

void PoolEditModel::showPoolEntry(const std::string &name)
{
    const PoolEntry *e = m_pool.find(name);
    if (!e)
        return;
    PoolEntryFields &f = m_fields;
    f.name = e->name;
    f.code = e->code;
    f.importcode = e->importcode;
    f.importwerttrenn = e->importwerttrenn;
    f.x = numberText(e->x);
    f.y = numberText(e->y);
    f.xd = numberText(e->xd);
    f.yd = numberText(e->yd);
    f.xy0 = e->xy0 != 0;
    f.flags = e->flags;
    f.flagsep = e->flagsep;
    f.p = e->p;
    f.helpfile = e->helpfile;
    f.helptopic = e->helptopic;
    f.dontshow = e->dontshow != 0;
    f.color = numberText(static_cast<std::int32_t>(e->color));
    f.colorBackground = e->color;
}

void PoolEditModel::fillEntry(PoolEntry &e) const
{
    const PoolEntryFields &f = m_fields;
    e.name = f.name;
    e.code = normaliseLineBreaks(f.code);
    e.importcode = f.importcode;
    e.importwerttrenn = f.importwerttrenn;
    e.x = parseWholeNumber(f.x);
    e.y = parseWholeNumber(f.y);
    e.xy0 = f.xy0 ? 1 : 0;
    e.xd = parseWholeNumber(f.xd);
    e.yd = parseWholeNumber(f.yd);
    e.flags = normaliseLineBreaks(f.flags);
    e.flagsep = f.flagsep;
    e.p = f.p;
    e.helpfile = f.helpfile;
    e.helptopic = f.helptopic;
    e.dontshow = f.dontshow ? 1 : 0;
    e.color = static_cast<std::uint32_t>(parseWholeNumber(f.color));
}

// A new name must be one the pool file can hold apart from every other:
// groups are found without regard to A-Z case, read only up to "]", and
// their names lose blanks at either end. `self` is the entry being renamed,
// which may change the case of its own name.
bool PoolEditModel::refuseName(const std::string &name, const PoolEntry *self)
{
    if (!unsafeGroupNames({name}).empty()) {
        tell(m_dialogs,
             "Dieser Name l\xE4sst sich in der Pooldatei nicht speichern: \"" + name
                 + "\"\r\nEin Name darf kein \"]\" und keinen Zeilenumbruch enthalten und nicht mit "
                   "Leer- oder Tabulatorzeichen beginnen oder enden.");
        return true;
    }
    for (const PoolEntry &e : m_pool.entries) {
        if (&e != self && equalsFolded(e.name, name)) {
            tell(m_dialogs,
                 "Name unterscheidet sich von \"" + e.name
                     + "\" nur durch Gro\xDF-/Kleinschreibung - bitte einen anderen w\xE4hlen");
            return true;
        }
    }
    return false;
}

bool PoolEditModel::storePoolEntry(StoreMode mode, const std::string &entryToChange)
{
    const std::string &name = m_fields.name;
    if (name.empty()) {
        tell(m_dialogs, "Bitte geben Sie einen Namen an!");
        return false;
    }
    if (mode == StoreMode::New) {
        if (m_pool.find(name)) {
            tell(m_dialogs, kNameTaken);
            return false;
        }
        if (refuseName(name, nullptr))
            return false;
        PoolEntry e;
        fillEntry(e);
        m_pool.entries.push_back(std::move(e));
        refreshPoolList();
        return true;
    }
    if (name == entryToChange) {
        // An unchanged name is not checked against the file's limits: a
        // hand-edited pool may hold such a name, and its other fields must
        // stay editable. Saving names it.
        PoolEntry *e = m_pool.find(name);
        if (!e) {
            tell(m_dialogs,
                 "Keine \xC4nderung! Stringfeld-Name in GdtPool-Liste nicht gefunden: " + name
                     + "\r\nTipp: 'Neu' klicken - dann werden die \xC4nderungen gespeichert...");
            return false;
        }
        fillEntry(*e);
        refreshPoolList();
        return true;
    }
    if (m_pool.find(name)) {
        tell(m_dialogs, kNameTaken);
        return false;
    }
    PoolEntry *e = m_pool.find(entryToChange);
    if (!e) {
        tell(m_dialogs, "Keine \xC4nderung! Listen-Name in GdtPool-Liste nicht gefunden: " + entryToChange);
        return false;
    }
    if (refuseName(name, e))
        return false;
    fillEntry(*e);
    refreshPoolList();
    return true;
}

bool PoolEditModel::takeOverShownEntry()
{
    if (!m_shown.empty() && !storePoolEntry(StoreMode::Update, m_shown)) {
        m_selected = rowOf(m_shown);
        return false;
    }
    m_shown = m_selected >= 0 ? m_rows[static_cast<std::size_t>(m_selected)] : std::string();
    if (!m_shown.empty())
        showPoolEntry(m_shown);
    return true;
}

void PoolEditModel::addNew()
{
    if (storePoolEntry(StoreMode::New))
        m_changed = true;
}

void PoolEditModel::deleteSelected()
{
    // The fields are not stored first: the entry goes with its edits.
    const std::string name = m_selected >= 0 ? m_rows[static_cast<std::size_t>(m_selected)] : std::string();
    if (!name.empty()) {
        auto &entries = m_pool.entries;
        auto it = entries.begin();
        while (it != entries.end() && it->name != name)
            ++it;
        if (it == entries.end())
            tell(m_dialogs, "Keine L\xF6schung! Listenfeld-Name in GdtPool-Liste nicht gefunden: " + name);
        else
            entries.erase(it);
    }
    refreshPoolList();
    m_changed = true;
}

void PoolEditModel::chooseFrameColour()
{
    const auto initial = static_cast<std::uint32_t>(parseWholeNumber(m_fields.color));
    if (const auto chosen = m_dialogs.chooseColour(initial)) {
        m_fields.color = numberText(static_cast<std::int32_t>(*chosen));
        m_fields.colorBackground = *chosen;
    }
    // Even a cancelled chooser counts as a change, so the close question
    // follows.
    m_changed = true;
}

HelpTarget PoolEditModel::helpTarget() const
{
    return helpTargetFor(m_fields.helpfile, m_fields.helptopic, m_pool.settings.generalPrgHelpFile);
}

ProgramTemplates PoolEditModel::programTemplates() const
{
    return tafelbau::programTemplates(m_pool.settings);
}

void PoolEditModel::setProgramTemplates(const ProgramTemplates &edited)
{
    if (tafelbau::setProgramTemplates(m_pool.settings, edited))
        m_changed = true;
}

bool PoolEditModel::writePool()
{
    const Outcome out = saveGdtPool(m_poolFile, m_pool);
    if (!out.ok)
        m_dialogs.showMessage(out.message);
    return out.ok;
}

void PoolEditModel::reloadPool()
{
    loadGdtPool(m_poolFile, m_pool);
}

PoolEditModel::Leave PoolEditModel::save()
{
    // Saving without the shown entry's edits would lose them as the window
    // closes; the user corrects the field or leaves with "Abbrechen".
    if (!takeOverShownEntry())
        return Leave::Stay;
    const bool written = writePool();
    m_changed = false;
    // Reading the old file back over a failed save would throw the edits
    // away; they stay in memory for the rest of the run instead.
    if (written)
        reloadPool();
    return Leave::Close;
}

PoolEditModel::Leave PoolEditModel::cancel()
{
    // The take-over comes before the reload, not after it: an entry added in
    // this session is not in the file, and storing into it would report it
    // missing. Without a readable pool file nothing is reloaded and the
    // edits stay.
    takeOverShownEntry();
    reloadPool();
    m_changed = false;
    return Leave::Close;
}

PoolEditModel::Leave PoolEditModel::requestClose()
{
    takeOverShownEntry();
    if (!m_changed) {
        reloadPool();
        return Leave::Close;
    }
    switch (m_dialogs.askYesNoCancel("Tafelbau - Gadget Pool", latin1ToUtf8("\xC4nderungen \374bernehmen?"))) {
    case Answer::Yes:
        if (!takeOverShownEntry())
            return Leave::Stay;
        writePool();
        return Leave::Close;
    case Answer::No: reloadPool(); return Leave::Close;
    case Answer::Cancel: break;
    }
    return Leave::Stay;
}

} // namespace tafelbau
