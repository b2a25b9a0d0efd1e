// Loading and looking up the translation table; the configuration panel's captions.
#include "settings/translation.h"

#include "package/ansitext.h"
#include "settings/cfgbox.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>

namespace pictoralia {
namespace {

const QString LineBreak = QStringLiteral("\r\n");
const QString LineBreakCode = QStringLiteral("#13");

// Lines as a text's line list has them: a break at the very end adds no empty line.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

struct CaptionRow {
    const char *key;
    const char *suffix;
    const char *control;
};

constexpr CaptionRow kCaptions[] = {
    {"About", "...", "btnAbout"},
    {"Close", "", "btnClose"},
    {"Website", "...", "btnWebsite"},
    {"This screen saver was created with Pictoralia", "", "Link"},
    {"&Display each image for", "", "Label12"},
    {"seconds", "", "Label13"},
    {"&Mixed", "", "rbMixed"},
    {"&Random", "", "rbRandom"},
    {"&Sequential", "", "rbSequential"},
    {"S&tart image painting on Desktop", "", "cbDesktop"},
    {"Image Duration", "", "GroupBox3"},
    {"Item Order", "", "gbOrder"},
    {"Startup", "", "GroupBox2"},
    {"General", "", "tsGeneral"},
    {"Position", "", "tsPosition"},
    {"Item Position", "", "gbPosition"},
    {"&Center", "", "rbPosCenter"},
    {"R&andom position", "", "rbPosRandom"},
    {"Item Size", "", "gbSize"},
    {"* Maintains aspect ratio", "", "Label37"},
    {"&Do not change size", "", "rbSizeNone"},
    {"&Resize to fit screen", " *", "rbSizeResize"},
    {"Resize &only if too big to fit screen", " *", "rbSizeResizeBig"},
    {"&Stretch to fit screen", "", "rbSizeStretch"},
    {"Effects", "", "tsEffects"},
    {"Selection", "", "GroupBox9"},
    {"Select All", "", "btnSelectAll"},
    {"Select None", "", "btnSelectNone"},
    {"Speed", "", "GroupBox6"},
    {"Smooth", "", "Label16"},
    {"Fast", "", "Label26"},
    {"Sound", "", "tsSound"},
    {"General", "", "GroupBox10"},
    {"&Mute sounds", "", "cbMute"},
    {"Music Playlist", "", "gbPlaylist"},
    {"Edit My Playlist...", "", "btnPlaylistEditor"},
    {"&Repeat playlist", "", "cbLoop"},
    {"S&elect and play just one random playlist item", "", "cbPlayOneRandom"},
    {"&Shuffle playlist item order", "", "cbShuffle"},
    {"&Use built-in playlist", "", "rbPlayBuiltIn"},
    {"Us&e my own playlist", "", "rbPlayMyOwn"},
    {"Behavior", "", "tsBehavior"},
    {"Exit Conditions", "", "GroupBox12"},
    {"&ESC Button", "", "cbExitEscape"},
    {"&Keyboard Button", "", "cbExitKeyboard"},
    {"Mouse &Button Click", "", "cbExitMouseButton"},
    {"&Mouse Move", "", "cbExitMouseMove"},
};

// The page control a dialog page belongs to (pages sit in its stacked widget).
QTabWidget *pageControlOf(const QWidget *page)
{
    QWidget *stack = page->parentWidget();
    return stack && qobject_cast<QStackedWidget *>(stack) ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
}

} // namespace

void TranslationTable::Load(const QString &text, const QString &section)
{
    m_keys.clear();
    m_values.clear();
    m_loaded = true;
    QString current;
    for (const QString &line : splitLines(text)) {
        const qsizetype p = line.indexOf(u'=');
        if (p < 0) {
            current = line;
        } else if (section.isEmpty() || section == current) {
            m_keys << line.left(p);
            m_values << line.mid(p + 1);
        }
    }
}

QString TranslationTable::Translate(const QString &key) const
{
    if (!m_loaded)
        return key;
    const qsizetype k = m_keys.indexOf(QString(key).replace(LineBreak, LineBreakCode));
    if (k < 0)
        return key;
    return QString(m_values[k]).replace(LineBreakCode, LineBreak);
}

void TranslationTable::Free()
{
    m_loaded = false;
    m_keys.clear();
    m_values.clear();
}

TranslationTable &ProgramTranslation()
{
    static TranslationTable table;
    return table;
}

void LoadTranslation(const AnsiString &text, const AnsiString &section)
{
    ProgramTranslation().Load(QString::fromStdString(AnsiToUtf8(text)), QString::fromStdString(AnsiToUtf8(section)));
}

QString Translate(const QString &key) { return ProgramTranslation().Translate(key); }

void FreeTranslation() { ProgramTranslation().Free(); }

void SetCaption(QWidget *control, const QString &caption)
{
    const QString shown = QString(caption).replace(LineBreak, QStringLiteral("\n"));
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(shown);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(shown);
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(shown);
    else if (QTabWidget *pages = pageControlOf(control))
        pages->setTabText(pages->indexOf(control), shown);
    else
        control->setWindowTitle(shown);
}

QString Caption(const QWidget *control)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *group = qobject_cast<const QGroupBox *>(control))
        return group->title();
    if (QTabWidget *pages = pageControlOf(control))
        return pages->tabText(pages->indexOf(const_cast<QWidget *>(control)));
    return control->windowTitle();
}

void RenameFormControls(CfgBox &box)
{
    for (const CaptionRow &row : kCaptions) {
        auto *control = box.findChild<QWidget *>(QString::fromLatin1(row.control));
        Q_ASSERT_X(control, "RenameFormControls", row.control);
        if (control)
            SetCaption(control, Translate(QString::fromLatin1(row.key)) + QString::fromLatin1(row.suffix));
    }
}

} // namespace pictoralia
