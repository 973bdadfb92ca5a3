// The sea battle's window: the player's board on the left and the computer's
// on the right as picture cells, the turn counter, two rows of ten lamps for
// the sunk ships, and the status line. Keys place the fleet, clicks on the
// computer's board fire, and the computer's whole turn runs inside the click.
#pragma once

#include "opponent.h"
#include "seabattle.h"
#include "tgameform.h"

#include <array>

class QLabel;
class QKeyEvent;
class TBoard;
class TImage;
class TIndicatorRow;
class THemisphereButton;
class TPanel;
class TShadowLabel;

class TFormSea : public TGameForm {
    Q_OBJECT
public:
    TFormSea();

    void FormCreate() override;
    void FormActivate() override;

    void NewGame() override { N5Click(); }
    void N5Click();               // "Новая игра", F2, the speed button
    // The placement keys: Q A I O (or й ф ш щ on the same keys), space,
    // Enter. During the placement every single character is taken, whether
    // it does anything or not; returns whether the key was taken.
    bool FormKeyPress(const QString& key);
    void Image1Click(int row, int column);  // a cell of the computer's board
    void setStrength(Strength strength);     // "Новичок" / "Профессионал"
    Strength strength() const { return m_strength; }

    // Every cell of the player's board (repaint2) or of the computer's
    // (repaint3) shows the picture of its code.
    void repaint2();
    void repaint3();
    void ShowSunkLamps();

    // The opponent to fire with; tests hand in a scripted one (nullptr
    // restores the computer).
    void setOpponent(Opponent* opponent) { m_opponent = opponent ? opponent : &m_computer; }

    SeaBattle Battle;

    TDigitalDisplay* TimerBoard;
    TShadowLabel* Label1;               // "Ходы"
    std::array<TImage*, 100> Images;    // Image1 .. Image100, the computer's board
    std::array<TImage*, 100> Images2;   // Image101 .. Image200, the player's board
    // The boards hold the cells, the rows the lamps; they draw nothing of
    // their own and are there for the keyboard and for a screen reader.
    TBoard* PlayerBoard;
    TBoard* ComputerBoard;
    std::array<THemisphereButton*, 20> Lamps;
    TIndicatorRow* ComputerLamps;       // lamps 1 .. 10
    TIndicatorRow* PlayerLamps;         // lamps 11 .. 20
    TPanel* StatusPanel;
    QLabel* StatusLabel;
    QAction* BeginnerItem;
    QAction* ProfessionalItem;

    // The six cell pictures, loaded by bare file name (loadSeaPicture) when
    // the window is made; a file that cannot be loaded leaves a plain picture
    // drawn here.
    enum Picture { pcClear, pcShip, pcSet, pcGoal, pcKilled, pcMissed, pcCount };
    const QImage& picture(Picture p) const { return m_pictures[p]; }
    QStringList missingPictures() const { return m_missingPictures; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // While the fleet is placed its keys reach the placement also when the
    // new-game button has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every cell of one board shows the picture of its code.
    void showBoard(Board board);
    // The lamps' names: how many ships each row counts sunk, each lamp lit
    // or not.
    void nameLamps();
    void loadPictures();
    void setStatus(const QString& text);
    void placeShip();
    void computerTurn();
    void playerWins();

    std::array<QImage, pcCount> m_pictures;
    QStringList m_missingPictures;
    bool m_missingReported = false;
    Strength m_strength = Strength::Professional;
    ComputerOpponent m_computer;
    Opponent* m_opponent = &m_computer;
};

// A cell picture from its file, looked up as every data file is
// (datafiles::locate), cut to the 25 x 25 cell it is drawn into; null when
// the file is missing, not a regular file, or no picture.
QImage loadSeaPicture(const QString& fileName);

extern TFormSea* FormSea;
