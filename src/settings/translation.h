// The caption translation table: entries "English=Translation" of one section of the
// package's translation text; a caption is looked up by its English text. Line breaks
// inside keys and values are written "#13".
#pragma once

#include "package/records.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace pictoralia {

class CfgBox;

class TranslationTable {
public:
    // Lines split at CR LF, CR or LF. A line without "=" starts a section (the whole
    // line, untrimmed); a line with one, in the wanted section (or any when section is
    // empty), is an entry: the key before the first "=", the value after it. Nothing is
    // trimmed; duplicates are kept.
    void Load(const QString &text, const QString &section);
    // key unchanged when never loaded or without an entry; else the value of the first
    // entry whose key equals key with CR LF written "#13" (case-sensitive), with "#13"
    // turned back into CR LF.
    QString Translate(const QString &key) const;
    void Free();

    bool Loaded() const { return m_loaded; }
    const QStringList &Keys() const { return m_keys; }
    const QStringList &Values() const { return m_values; }

private:
    bool m_loaded = false;
    QStringList m_keys;
    QStringList m_values;
};

// The program's table, for every window that sets captions (GUI thread).
// LoadTranslation takes the package's Windows-1252 text and section name.
void LoadTranslation(const AnsiString &text, const AnsiString &section);
QString Translate(const QString &key);
void FreeTranslation();
TranslationTable &ProgramTranslation();

// Sets the captions of the configuration panel through Translate.
void RenameFormControls(CfgBox &box);

// The caption of a button, label, group box or dialog page (its tab), with CR LF shown
// as a line break.
void SetCaption(QWidget *control, const QString &caption);
QString Caption(const QWidget *control);

} // namespace pictoralia
