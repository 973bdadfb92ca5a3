// The result dialogs and the table window. The windows are made once and
// keep their contents, so a record dialog opens with the name typed last time.
#include "resultdialogs.h"

#include "cues.h"
#include "errorreport.h"
#include "randomsource.h"
#include "tbitbtn.h"
#include "tpanel.h"
#include "ttop.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringEncoder>
#include <QValidator>

namespace {

constexpr int kMaxName = 20;

TPanel* framePanel(QWidget* parent, int left, int top, int width, int height)
{
    auto* panel = new TPanel(parent);
    panel->setGeometry(left, top, width, height);
    panel->setBevelInner(bvRaised);
    panel->setBevelOuter(bvLowered);
    return panel;
}

QLabel* textLabel(QWidget* parent, int left, int top, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

TBitBtn* okButton(TForm* form, int left, int top)
{
    auto* ok = new TBitBtn(QStringLiteral("OK"), bgCheck, form->Wallpaper1);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setGeometry(left, top, 105, 25);
    form->setDefaultButton(ok);
    return ok;
}

void dress(TForm* form, const QString& caption, const QIcon& icon)
{
    form->setWindowTitle(caption);
    form->setWindowIcon(icon);
}

// The score file holds names in Windows-1251: characters it cannot store are
// dropped as they are typed or pasted, so what is shown is what is saved.
class Cp1251Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        QString kept;
        kept.reserve(input.size());
        int newPos = pos;
        for (int i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            // A lone surrogate half can never be stored either.
            if (!c.isSurrogate() && encodable(c)) {
                kept.append(c);
            } else if (i < pos) {
                --newPos;
            }
        }
        input = kept;
        pos = qBound(0, newPos, int(kept.size()));
        return Acceptable;
    }

private:
    static bool encodable(QChar c)
    {
        QStringEncoder encode("windows-1251");
        const QByteArray bytes = encode(QString(c));
        return !encode.hasError() && bytes.size() == 1;
    }
};

} // namespace

int scoreValue(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw EError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

TRecordTable::TRecordTable(const QString& name, TGameScores scores)
    : TForm(name)
    , m_game(std::move(scores))
{
    dress(this, m_game.tableCaption, m_game.icon);
    setBorderIcons(biSystemMenu | biMinimize | biMaximize);
    setClientSize(312, 301);
    TPanel* panel = framePanel(Wallpaper1, 9, 13, 294, 241);
    for (int i = 0; i < 10; ++i) {
        const int top = 24 + 16 * i;
        m_ranks[i] = textLabel(panel, i == 9 ? 8 : 14, top, QStringLiteral("%1.").arg(i + 1));
        m_ranks[i]->setFixedWidth(235 - m_ranks[i]->x());
        m_scores[i] = new QLabel(panel);
        m_scores[i]->setGeometry(249, top, 30, m_ranks[i]->height());
        m_scores[i]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
    BitBtn1 = okButton(this, 104, 264);
    connect(BitBtn1, &QPushButton::clicked, this, errorreport::guard([this] { setModalResult(mrOk); }));
}

void TRecordTable::FormActivate()
{
    Ttop& top = m_game.table();
    LoadTop(top, m_game.game);
    for (int i = 0; i < 10; ++i) {
        m_ranks[i]->setText(QStringLiteral("%1.").arg(i + 1) + top.Entries[i].Name);
        m_scores[i]->setText(QString::number(top.Entries[i].Score).left(5));
    }
}

TRecordDialog::TRecordDialog(const QString& name, TGameScores scores)
    : TForm(name)
    , m_game(std::move(scores))
{
    dress(this, m_game.caption, m_game.icon);
    setBorderStyle(bsDialog);
    setBorderIcons(biSystemMenu);
    setClientSize(258, m_game.recordDialogHeight);
    TPanel* panel = framePanel(Wallpaper1, 9, 13, 240, 108);
    const QStringList lines{QStringLiteral("Вы показали нелохой результат"),
                            QStringLiteral("и достойны занесения вашего имени"),
                            QStringLiteral("в список лучших игроков:")};
    textLabel(panel, 38, 12, lines[0]);
    textLabel(panel, 25, 28, lines[1]);
    textLabel(panel, 55, 44, lines[2]);
    // A screen reader says what the dialog is about as it opens.
    setAccessibleDescription(lines.join(QLatin1Char(' ')));
    EditName = new QLineEdit(panel);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setAccessibleName(QStringLiteral("Имя игрока"));
    EditName->setGeometry(16, 72, 209, 21);
    EditName->setMaxLength(kMaxName);
    // The first name is ours and fits the code page; checking it would load
    // the converter's tables before the launcher even shows.
    EditName->setText(QStringLiteral("Неизвестный"));
    EditName->setValidator(new Cp1251Validator(EditName));
    BitBtn1 = okButton(this, 77, 134);
    connect(BitBtn1, &QPushButton::clicked, this, errorreport::guard([this] { BitBtn1Click(); }));
}

void TRecordDialog::FormActivate()
{
    EditName->setFocus(Qt::OtherFocusReason);
    EditName->selectAll();
}

void TRecordDialog::BitBtn1Click()
{
    Ttop& top = m_game.table();
    top.NewName = EditName->text().left(kMaxName);
    top.NewScore = scoreValue(m_game.scoreText());
    InsertTop(top, m_game.game);
    setModalResult(mrOk);
}

TMessageDialog::TMessageDialog(const QString& name, const TGameScores& scores, int clientHeight, int panelHeight,
                               int okLeft, int okTop, const std::vector<Line>& lines)
    : TForm(name)
{
    dress(this, scores.caption, scores.icon);
    setBorderStyle(bsDialog);
    setBorderIcons(biSystemMenu);
    setClientSize(258, clientHeight);
    TPanel* panel = framePanel(Wallpaper1, 9, 13, 240, panelHeight);
    QStringList text;
    for (const Line& line : lines) {
        textLabel(panel, line.left, line.top, line.text);
        text << line.text;
    }
    setAccessibleDescription(text.join(QLatin1Char(' ')));
    BitBtn1 = okButton(this, okLeft, okTop);
    connect(BitBtn1, &QPushButton::clicked, this, errorreport::guard([this] { setModalResult(mrOk); }));
}

TNoRecordDialog::TNoRecordDialog(const QString& name, const TGameScores& scores)
    : TMessageDialog(name, scores, 171, 108, 77, 134,
                     {{39, 28, QStringLiteral("Вы показали плохой результат.")},
                      {23, 44, QStringLiteral("Для внесения вашего имени в список")},
                      {25, 60, QStringLiteral("лучших игроков придется подождать.")}})
{
}

TLostGameDialog::TLostGameDialog(const QString& name, const TGameScores& scores)
    : TMessageDialog(name, scores, 160, 100, 76, 126,
                     {{59, 16, QStringLiteral("Ваша эскадра разбита !")},
                      {42, 32, QStringLiteral("За время создания новой вам")},
                      {53, 48, QStringLiteral("не помешало бы посетить")},
                      {49, 64, QStringLiteral("военно-морскую академию.")}})
{
}

void EndOfGameRule(const TGameScores& scores, int score, RandomSource& random,
                   const std::function<void(const QString&)>& play, TRecordDialog* recordDialog,
                   TNoRecordDialog* noRecordDialog, TRecordTable* table)
{
    Ttop& top = scores.table();
    top.NewScore = score;
    // Compared with the table as last loaded, by the game window's activation
    // or by the table window, whichever came last.
    if (score < top.Entries[9].Score) {
        play(randomCueName(random, 3, 5));
        recordDialog->ShowModal();
    } else {
        play(randomCueName(random, 6, 9));
        noRecordDialog->ShowModal();
    }
    table->ShowModal();
}
