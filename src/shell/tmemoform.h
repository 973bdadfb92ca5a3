// The rules viewer: one modeless window that shows a game's rules file, line
// by line. A game window opens it with ShowRules(); every activation reloads
// the file.
#pragma once

#include "tform.h"

class QIcon;
class QListWidget;
class TBitBtn;

// The file the viewer loads on its next activation: a bare name, looked up
// in the current directory, then in the program's data folder. Set through
// TMemoForm::ShowRules().
extern QString RulesFileName;

class TMemoForm : public TForm {
    Q_OBJECT
public:
    TMemoForm();

    // Names the file to load, takes the game's caption and icon, and shows
    // the viewer modelessly, as the active window.
    void ShowRules(const QString& fileName, const QString& caption, const QIcon& icon);

    void FormActivate() override;

    QListWidget* ListBox1;
    TBitBtn* BitBtn1;
};

extern TMemoForm* MemoForm;

// Reads a Windows-1251 text file, found as RulesFileName is, into lines (CR
// LF, CR or LF end a line). Throws EError "Cannot open file <name>" when the
// file is not a regular file or cannot be read.
QStringList readRulesFile(const QString& fileName);
