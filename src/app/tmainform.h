// The launcher: three large flat buttons, one per game, an exit button and
// the main menu. Closing it ends the program.
#pragma once

#include "tform.h"

class QAction;
class TFlatSpeedButton;

class TMainForm : public TForm {
    Q_OBJECT
public:
    TMainForm();

    TFlatSpeedButton* FlatSpeedButton1; // Пятнашки
    TFlatSpeedButton* FlatSpeedButton2; // Сапер
    TFlatSpeedButton* FlatSpeedButton4; // Морской бой
    TFlatSpeedButton* FlatSpeedButton5; // Выход

    void ShowFifteen();
    void ShowSaper();
    void ShowSea();
    void ShowAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
};

extern TMainForm* MainForm;
