#pragma once

// The one window "JOLV": the Speed, Rotor and Power panels, built from the
// control table. Its handlers gather a panel's texts, run the panel's
// calculation and apply what it writes.

#include "calc/panel_writes.h"

#include <QHash>
#include <QWidget>

class QButtonGroup;
struct ControlRow;
struct TwipsRect;
namespace steppers {
struct Stepper;
}

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Settings are kept in JOLV.INI inside settingsDirectory.
    explicit MainWindow(const QString& settingsDirectory, QWidget* parent = nullptr);

    // Click handlers, named after their control and event.
    void CCalc_Click();  // Speed panel "Berechnen"
    void CInch_Click();  // "Zoll" ticked or cleared
    void CSpeed_Click(); // "m/s" ticked or cleared
    void CCalc3_Click(); // Rotor panel "Berechnen"
    void CCalc2_Click(); // Power panel "Berechnen"
    void TTR0_Click();   // a mouse click into the gear-ratio field

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QWidget* createControl(const ControlRow& row);
    void connectSteppers();
    void setTabOrder();
    void Form_Load();   // restores the stored position, texts and boxes
    void Form_Unload(); // stores them; runs once, however the program ends

    // The stepper procedure shared by all thirty "<" and ">" buttons.
    void stepperClicked(const steppers::Stepper& stepper);

    QRect pixels(const TwipsRect& twips) const;
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;
    QString text(const QString& field) const;
    bool isTicked(const QString& checkBox) const;
    void apply(const Writes& writes);

    bool loading = false; // true while Form_Load restores stored states
    double pi = 0;        // the rotor calculation's pi, 3.14159
    QString iniPath;      // the settings file, set by Form_Load
    const QString settingsDirectory;
    bool unloaded = false;
    QHash<QString, QWidget*> controls;
    QButtonGroup* OPC = nullptr;
};
