// The rules viewer. A missing file is reported inside the list; the list is
// emptied first, so the line does not pile up under another game's rules.
#include "tmemoform.h"

#include "datafiles.h"
#include "eerror.h"
#include "errorreport.h"
#include "tbitbtn.h"
#include "tpanel.h"

#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QStringDecoder>

QString RulesFileName;
TMemoForm* MemoForm = nullptr;

QStringList readRulesFile(const QString& fileName)
{
    const QString path = datafiles::locate(fileName);
    // A named pipe with no writer would block the open below for good, and
    // a device could be read without end.
    if (!datafiles::isRegularFile(path))
        throw EError(QStringLiteral("Cannot open file ") + fileName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EError(QStringLiteral("Cannot open file ") + fileName);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EError(QStringLiteral("Cannot open file ") + fileName);
    QStringDecoder decode("windows-1251");
    const QString text = decode(bytes);
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(line);
            line.clear();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            line.append(c);
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

TMemoForm::TMemoForm()
    : TForm(QStringLiteral("MemoForm"))
{
    setBorderIcons(biSystemMenu | biMinimize);
    setClientSize(536, 378);

    ListBox1 = new QListWidget(Wallpaper1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(13, 13, 510, 308);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setAccessibleName(QStringLiteral("Правила игры"));
    ListBox1->setStyleSheet(QStringLiteral("QListWidget { background: #c0c0c0; } QListWidget::item { height: 13px; }"));

    BitBtn1 = new TBitBtn(QStringLiteral("&Закрыть"), bgCheck, Wallpaper1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(416, 336, 89, 25);
    setDefaultButton(BitBtn1);
    setCancelButton(BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, errorreport::guard([this] { close(); }));
}

void TMemoForm::ShowRules(const QString& fileName, const QString& caption, const QIcon& icon)
{
    RulesFileName = fileName;
    setWindowTitle(caption);
    setWindowIcon(icon);
    Show();
}

void TMemoForm::FormActivate()
{
    if (QFileInfo::exists(datafiles::locate(RulesFileName))) {
        // Read first: a file that cannot be read leaves the list as it was.
        const QStringList lines = readRulesFile(RulesFileName);
        ListBox1->clear();
        ListBox1->addItems(lines);
        // A screen reader reading line by line says so at an empty one
        // instead of nothing.
        for (int i = 0; i < ListBox1->count(); ++i)
            if (ListBox1->item(i)->text().isEmpty())
                ListBox1->item(i)->setData(Qt::AccessibleTextRole, QStringLiteral("пустая строка"));
    } else {
        ListBox1->clear();
        ListBox1->addItem(QStringLiteral("Файл ") + RulesFileName + QStringLiteral(" не найден"));
    }
}
