// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one window "JOLV": the Speed, Rotor and Power panels, built from the
// control table. Its slots gather a panel's texts, run the panel's
// calculation and apply what it writes.

#include "control_table.h"
#include "core/calculation.h"

#include <QStringList>
#include <QWidget>
#include <optional>

class Announcer;
class FieldEdit;
class PanelGroup;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class ResultLabel;
class WindowSettings;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Settings are kept in JOLV.INI inside settingsDirectory; while there is
    // none yet, the first of earlierSettingsFiles that exists is read.
    explicit MainWindow(const QString& settingsDirectory,
                        const QStringList& earlierSettingsFiles = {}, QWidget* parent = nullptr);

    // Writes JOLV.INI, once, however the program ends: at closing, at a
    // logout, on a signal, or when the display goes away.
    void saveSettings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void pitchUnitToggled(bool inch);
    void speedUnitToggled(bool metresPerSecond);
    void restoreSettings();

private:
    void buildControls();
    QWidget* createControl(const ControlRow& row, QWidget* parent);
    void labelControls();
    void connectControls();
    // Ctrl+R, and Ctrl+1 to Ctrl+3 (README, Keyboard).
    void addShortcuts();
    void setTabOrder();
    void scrollWhereTheScreenIsTooSmall();
    QWidget* widgetFor(const Control& control) const;

    // The stepper procedure shared by all thirty "<" and ">" buttons.
    void step(steppers::Stepper stepper);
    // A panel's "Berechnen": its calculation and those of the panels that
    // follow it, applied and announced after what was `written` before.
    void calculateAndAnnounce(Panel panel, const Writes& written = {});
    // Runs the panel's calculation and applies what it writes; nothing when
    // it answered with a message box instead.
    std::optional<Writes> calculate(Panel panel);
    void showMessage(const QString& text);
    FieldTexts fieldTexts() const;
    void apply(const Writes& writes);
    // Has a screen reader say the texts of one or more calculations, each
    // in screen order, with their captions and units.
    void announce(const QList<Writes>& actions);
    QWidget* widgetFor(const WriteTarget& target) const;
    // The unit of the target's value as the window shows it; "" for none.
    QString unitOf(const WriteTarget& target) const;
    bool keyPressedOn(QObject* watched, const QKeyEvent& key);

    QRect pixels(const TwipsRect& twips) const;

    WindowSettings* const settings;
    bool restoring = false; // the unit boxes convert nothing while stored states come back

    EnumArray<Panel, PanelGroup*, panelCount> panelGroups;
    // Every control that stands for something, by what it stands for.
    EnumArray<Field, FieldEdit*, fieldCount> fieldEdits;
    EnumArray<Field, QLabel*, fieldCount> fieldCaptions;
    EnumArray<Field, QString, fieldCount> fieldUnits;
    EnumArray<Output, ResultLabel*, outputCount> resultLabels;
    EnumArray<Output, QLabel*, outputCount> resultCaptions;
    EnumArray<Output, QString, outputCount> resultUnits;
    EnumArray<steppers::Direction, EnumArray<Field, QPushButton*, fieldCount>, 2> stepperButtons;
    EnumArray<UnitBox, QCheckBox*, unitBoxCount> unitBoxes;
    EnumArray<drive_speed::Target, QRadioButton*, targetCount> targetOptions;
    EnumArray<Panel, QPushButton*, panelCount> calculateButtons;
    QButtonGroup* targetGroup = nullptr; // OPC
    Announcer* announcer = nullptr;
};
