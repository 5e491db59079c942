// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include "accessibility.h"
#include "core/flight.h"
#include "core/power_gearing.h"
#include "core/rotor_blades.h"
#include "core/settings_file.h"
#include "field_edit.h"
#include "result_label.h"
#include "window_placement.h"
#include "window_settings.h"
#include "window_style.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

namespace {

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// Gives a new label the row's text, alignment and colour.
template <typename Label> Label* setUpLabel(Label* label, const ControlRow& row)
{
    label->setText(QString::fromUtf8(row.caption));
    // Static text sits at the top of its box, the results end at its right edge.
    const ControlKind kind = row.control.kind;
    const bool rightAligned = kind == ControlKind::Output || kind == ControlKind::Footer;
    label->setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    if (kind == ControlKind::Output)
        setTextColour(label, QColor(255, 0, 0));
    if (kind == ControlKind::Footer)
        setTextColour(label, QColor(128, 128, 128));
    return label;
}

} // namespace

MainWindow::MainWindow(const QString& settingsDirectory, const QStringList& earlierSettingsFiles,
                       QWidget* parent)
    : QWidget(parent)
    , settings(new WindowSettings(this, settingsDirectory, earlierSettingsFiles,
                                  window_placement::placesWindows(QGuiApplication::platformName())))
{
    setObjectName(QStringLiteral("JOLV"));
    setStyle(controlStyle());
    setWindowTitle(QStringLiteral("JOLV"));
    // The icon is read once the window is on its way to the screen, which
    // opens it a little sooner.
    QTimer::singleShot(0, this, [this] {
        QIcon icon;
        for (const int size : {16, 32})
            icon.addFile(QStringLiteral(":/icons/%1x%1/apps/" JOLV_APP_ID ".png").arg(size),
                         QSize(size, size));
        setWindowIcon(icon);
    });
    installAccessibleInterfaces();
    buildControls();
    announcer = new Announcer(this);
    labelControls();
    connectControls();
    addShortcuts();
    setTabOrder();
    setFixedSize(pixels({0, 0, clientWidthTwips, clientHeightTwips}).size());
    restoreSettings();
    window_placement::scrollWhereTheScreenIsTooSmall(*this, announcer);
    // A logout may end the program without closing the window first.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MainWindow::saveSettings);
}

QRect MainWindow::pixels(const TwipsRect& twips) const
{
    const double xScale = 1 / WindowSettings::twipsPerPixelX(*this);
    const double yScale = 1 / WindowSettings::twipsPerPixelY(*this);
    return QRect(qRound(twips.left * xScale), qRound(twips.top * yScale),
                 qRound(twips.width * xScale), qRound(twips.height * yScale));
}

// Each control goes into its panel, the footer into the window.
void MainWindow::buildControls()
{
    targetGroup = new QButtonGroup(this);
    targetGroup->setObjectName(QStringLiteral("OPC"));
    for (const PanelArea& area : panelAreas()) {
        auto* group = new PanelGroup(this);
        group->setObjectName(QString::fromLatin1(area.name));
        group->setGeometry(pixels(area.twips));
        panelGroups[area.panel] = group;
    }
    for (const ControlRow& row : controlTable()) {
        const PanelArea* area = panelAreaOf(row);
        PanelGroup* group = area ? panelGroups[area->panel] : nullptr;
        QWidget* control = createControl(row, group ? group : static_cast<QWidget*>(this));
        control->setObjectName(controlName(row.control));
        control->setStyle(controlStyle());
        control->setGeometry(pixels(row.twips).translated(group ? -group->pos() : QPoint()));
        // A panel is named after its heading.
        if (group && row.control == area->heading)
            group->setAccessibleName(QString::fromUtf8(row.caption));
        control->setFont(fontFor(row.font));
        if (*row.toolTip)
            control->setToolTip(QString::fromUtf8(row.toolTip));
    }
}

// Makes the row's widget and files it under what it stands for.
QWidget* MainWindow::createControl(const ControlRow& row, QWidget* parent)
{
    const Control& control = row.control;
    const QString caption = QString::fromUtf8(row.caption);
    switch (control.kind) {
    case ControlKind::Heading:
    case ControlKind::Footer:
        return setUpLabel(new QLabel(parent), row);
    case ControlKind::Caption: {
        QLabel* label = setUpLabel(new QLabel(parent), row);
        const QString unit = QString::fromUtf8(row.unit);
        if (const auto* field = std::get_if<Field>(&control.subject)) {
            fieldCaptions[*field] = label;
            fieldUnits[*field] = unit;
        } else {
            resultCaptions[std::get<Output>(control.subject)] = label;
            resultUnits[std::get<Output>(control.subject)] = unit;
        }
        return label;
    }
    case ControlKind::Output:
        return resultLabels[std::get<Output>(control.subject)] =
                   setUpLabel(new ResultLabel(parent), row);
    case ControlKind::TextBox: {
        const FieldRow& field = fieldRow(std::get<Field>(control.subject));
        auto* edit = new FieldEdit(parent);
        edit->setMaxLength(maxFieldTextLength);
        if (field.defaultValue)
            edit->setText(fields::numberToText(*field.defaultValue));
        return fieldEdits[field.field] = edit;
    }
    case ControlKind::Stepper:
        return stepperButtons[control.direction][std::get<Field>(control.subject)] =
                   new QPushButton(caption, parent);
    case ControlKind::Button:
        return calculateButtons[std::get<Panel>(control.subject)] =
                   new QPushButton(caption, parent);
    case ControlKind::CheckBox:
        return unitBoxes[std::get<UnitBox>(control.subject)] = new QCheckBox(caption, parent);
    case ControlKind::Option:
        break;
    }
    const auto target = std::get<drive_speed::Target>(control.subject);
    auto* option = new QRadioButton(parent);
    targetGroup->addButton(option, int(target));
    return targetOptions[target] = option;
}

// Captions name their field for screen readers and label their result; each
// stepper is named after its field, each option after what it computes, and
// each "Berechnen" tells its panel.
void MainWindow::labelControls()
{
    for (const FieldRow& row : fieldTable) {
        QLabel* caption = fieldCaptions[row.field];
        FieldEdit* edit = fieldEdits[row.field];
        caption->setBuddy(edit);
        edit->setAccessibleName(caption->text());
        edit->setToolTip(caption->toolTip());
    }
    for (const OutputRow& row : outputTable) {
        resultCaptions[row.output]->setBuddy(resultLabels[row.output]);
        resultLabels[row.output]->setAccessibleDescription(resultCaptions[row.output]->toolTip());
    }
    for (const auto target :
         {drive_speed::Target::Rpm, drive_speed::Target::Pitch, drive_speed::Target::Speed})
        targetOptions[target]->setAccessibleName(
            fieldCaptions[drive_speed::targetField(target)]->text() + QStringLiteral(" berechnen"));
    for (const PanelArea& area : panelAreas())
        calculateButtons[area.panel]->setAccessibleDescription(
            QStringLiteral("Bereich %1 berechnen").arg(panelGroups[area.panel]->accessibleName()));
    for (const steppers::Stepper stepper : steppers::all())
        stepperButtons[stepper.direction][stepper.field]->setAccessibleName(
            fieldCaptions[stepper.field]->text() + (stepper.direction == steppers::Direction::Down
                                                        ? QStringLiteral(" verringern")
                                                        : QStringLiteral(" erhöhen")));
}

void MainWindow::connectControls()
{
    // The option group is one stop in the tab order, at its selected button;
    // the arrow keys move within it.
    connect(targetGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        targetGroup->button(id)->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    });
    for (QRadioButton* option : targetOptions)
        option->setFocusPolicy(Qt::ClickFocus);
    targetOptions[drive_speed::Target::Speed]->setChecked(true);

    connect(unitBoxes[UnitBox::Inch], &QCheckBox::toggled, this, &MainWindow::pitchUnitToggled);
    connect(unitBoxes[UnitBox::MetresPerSecond], &QCheckBox::toggled, this,
            &MainWindow::speedUnitToggled);
    for (const PanelArea& area : panelAreas())
        connect(calculateButtons[area.panel], &QPushButton::clicked, this,
                [this, panel = area.panel] { calculateAndAnnounce(panel); });
    fieldEdits[Field::GearRatio]->installEventFilter(this);

    for (const steppers::Stepper stepper : steppers::all()) {
        QPushButton* button = stepperButtons[stepper.direction][stepper.field];
        connect(button, &QPushButton::clicked, this, [this, stepper] { step(stepper); });
        button->setAutoRepeat(true); // held down, it steps on and the results follow
        button->installEventFilter(this);
    }
    for (QPushButton* button : calculateButtons)
        button->installEventFilter(this);
    for (QRadioButton* option : targetOptions)
        option->installEventFilter(this);
}

void MainWindow::addShortcuts()
{
    // Said again, for a screen reader's user who missed it or wants a
    // number once more.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this), &QShortcut::activated,
            announcer, &Announcer::repeatResults);
    // Ctrl+1 to Ctrl+4 move to the first field of Speed, Rotor, Power and
    // Flug (Panel's order): the tab order crosses the panels, and a screen
    // reader's user cannot see where one starts.
    for (const PanelArea& area : panelAreas()) {
        const Field first = std::ranges::find(fieldTable, area.panel, &FieldRow::panel)->field;
        const auto key = Qt::Key(Qt::Key_1 + int(area.panel));
        connect(new QShortcut(QKeySequence(Qt::CTRL | key), this), &QShortcut::activated, this,
                [this, first] { fieldEdits[first]->setFocus(Qt::ShortcutFocusReason); });
    }
}

QWidget* MainWindow::widgetFor(const Control& control) const
{
    const auto& subject = control.subject;
    switch (control.kind) {
    case ControlKind::TextBox:
        return fieldEdits[std::get<Field>(subject)];
    case ControlKind::Stepper:
        return stepperButtons[control.direction][std::get<Field>(subject)];
    case ControlKind::Button:
        return calculateButtons[std::get<Panel>(subject)];
    case ControlKind::CheckBox:
        return unitBoxes[std::get<UnitBox>(subject)];
    case ControlKind::Option:
        return targetOptions[std::get<drive_speed::Target>(subject)];
    case ControlKind::Output:
        return resultLabels[std::get<Output>(subject)];
    case ControlKind::Heading:
    case ControlKind::Caption:
    case ControlKind::Footer:
        break;
    }
    return nullptr;
}

void MainWindow::setTabOrder()
{
    const auto order = tabOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(widgetFor(order[i]), widgetFor(order[i + 1]));
}

void MainWindow::restoreSettings()
{
    const std::optional<settings_file::Settings> stored = settings->restore();
    if (!stored)
        return;
    restoring = true;
    for (auto text = stored->texts.cbegin(); text != stored->texts.cend(); ++text)
        fieldEdits[text.key()]->setText(text.value());
    // Ticking a box here runs its slot, which converts nothing while restoring.
    for (auto box = stored->boxes.cbegin(); box != stored->boxes.cend(); ++box)
        unitBoxes[box.key()]->setChecked(box.value());
    restoring = false;
}

void MainWindow::saveSettings()
{
    settings_file::Settings inputs;
    for (const FieldRow& row : fieldTable)
        inputs.texts.insert(row.field, fieldEdits[row.field]->text());
    for (const UnitBoxRow& row : unitBoxTable)
        inputs.boxes.insert(row.box, unitBoxes[row.box]->isChecked());
    settings->save(inputs);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    saveSettings();
    event->accept();
}

FieldTexts MainWindow::fieldTexts() const
{
    FieldTexts texts;
    for (const FieldRow& row : fieldTable)
        texts[row.field] = fieldEdits[row.field]->text();
    return texts;
}

void MainWindow::apply(const Writes& writes)
{
    for (const Write& write : writes) {
        if (const auto* field = std::get_if<Field>(&write.target))
            fieldEdits[*field]->setText(write.text);
        else
            showResult(*resultLabels[std::get<Output>(write.target)], write.text);
    }
}

QWidget* MainWindow::widgetFor(const WriteTarget& target) const
{
    if (const auto* field = std::get_if<Field>(&target))
        return fieldEdits[*field];
    return resultLabels[std::get<Output>(target)];
}

QString MainWindow::unitOf(const WriteTarget& target) const
{
    const auto* field = std::get_if<Field>(&target);
    if (!field)
        return resultUnits[std::get<Output>(target)];
    for (const UnitBoxRow& row : unitBoxTable)
        if (row.field == *field && unitBoxes[row.box]->isChecked())
            return unitBoxes[row.box]->text();
    return fieldUnits[*field];
}

void MainWindow::announce(const QList<Writes>& actions)
{
    // Each control once, with the text the actions left in it.
    QList<WriteTarget> said;
    QList<Announcer::Part> parts;
    for (qsizetype action = 0; action < actions.size(); ++action)
        for (const Write& write : actions[action]) {
            if (said.contains(write.target))
                continue;
            said.append(write.target);
            const auto* field = std::get_if<Field>(&write.target);
            parts.append({int(action), widgetFor(write.target)->mapTo(this, QPoint()),
                          field ? fieldCaptions[*field]->text()
                                : resultCaptions[std::get<Output>(write.target)]->text(),
                          *writtenText(actions[action], write.target), unitOf(write.target)});
        }
    announcer->announceResults(parts);
}

void MainWindow::calculateAndAnnounce(Panel panel, const Writes& written)
{
    const std::optional<Writes> writes = calculate(panel);
    if (!writes)
        return;
    QList<Writes> said{written + *writes};
    // The Flug panel reads the Power panel's fields: its numbers follow.
    if (panel == Panel::Power)
        said.append(*calculate(Panel::Flight));
    announce(said);
}

void MainWindow::pitchUnitToggled(bool inch)
{
    if (restoring)
        return;
    const Writes writes = drive_speed::convertPitch(fieldEdits[Field::Pitch]->text(), inch);
    apply(writes);
    announce({writes});
}

void MainWindow::speedUnitToggled(bool metresPerSecond)
{
    if (restoring)
        return;
    const Writes writes =
        drive_speed::convertSpeed(fieldEdits[Field::DriveSpeed]->text(), metresPerSecond);
    apply(writes);
    announce({writes});
}

std::optional<Writes> MainWindow::calculate(Panel panel)
{
    Writes writes;
    switch (panel) {
    case Panel::Speed: {
        const drive_speed::Result result = drive_speed::calculate(
            fieldTexts(), {
                              .inch = unitBoxes[UnitBox::Inch]->isChecked(),
                              .metresPerSecond = unitBoxes[UnitBox::MetresPerSecond]->isChecked(),
                              .target = drive_speed::Target(targetGroup->checkedId()),
                          });
        apply(result.writes);
        if (result.message != drive_speed::Message::None) {
            showMessage(drive_speed::messageText(result.message));
            return std::nullopt;
        }
        return result.writes;
    }
    case Panel::Rotor:
        writes = rotor_blades::calculate(fieldTexts());
        break;
    case Panel::Power:
        writes = power_gearing::calculate(fieldTexts());
        break;
    case Panel::Flight:
        writes = flight::calculate(fieldTexts());
        break;
    }
    apply(writes);
    return writes;
}

// Screen readers would call the box's icon just an image.
void MainWindow::showMessage(const QString& text)
{
    QMessageBox box(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this);
    for (QLabel* label : box.findChildren<QLabel*>())
        if (!label->pixmap().isNull())
            label->setAccessibleName(QStringLiteral("Information"));
    box.exec();
}

void MainWindow::step(steppers::Stepper stepper)
{
    FieldEdit* edit = fieldEdits[stepper.field];
    const Writes stepped{{stepper.field, steppers::stepped(edit->text(), stepper)}};
    apply(stepped);
    calculateAndAnnounce(fieldRow(stepper.field).panel, stepped);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Only a mouse click into the ratio field recalculates, not focus by Tab.
    if (event->type() == QEvent::MouseButtonRelease && watched == fieldEdits[Field::GearRatio] &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        calculateAndAnnounce(Panel::Power);
    if (event->type() == QEvent::KeyPress && keyPressedOn(watched, *static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

// Return and Enter press the focused button, as they do in Windows dialogs
// (Qt leaves them to default buttons); the arrow keys move round the options
// in either direction.
bool MainWindow::keyPressedOn(QObject* watched, const QKeyEvent& key)
{
    if (key.modifiers() & ~Qt::KeypadModifier)
        return false;
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(watched)) {
            button->click();
            return true;
        }
        return false;
    }
    const auto option = std::ranges::find(targetOptions, watched);
    if (option == targetOptions.end())
        return false;
    int step = 0;
    if (key.key() == Qt::Key_Up || key.key() == Qt::Key_Left)
        step = -1;
    else if (key.key() == Qt::Key_Down || key.key() == Qt::Key_Right)
        step = 1;
    else
        return false;
    const auto count = int(targetCount);
    const int next = (int(option - targetOptions.begin()) + step + count) % count;
    QRadioButton* chosen = targetOptions[drive_speed::Target(next)];
    chosen->setChecked(true);
    chosen->setFocus(Qt::TabFocusReason);
    return true;
}
