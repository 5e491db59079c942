#include "main_window.h"

#include "calc/drive_speed.h"
#include "calc/power_gearing.h"
#include "calc/rotor_blades.h"
#include "control_table.h"
#include "field_values.h"
#include "settings_file.h"
#include "steppers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace {

constexpr double twipsPerInch = 1440;
constexpr double windowPi = 3.14159;            // five decimals, as the rotor figures expect
constexpr double windowCoordinateLimit = 32767; // pixels; X11 holds 16-bit coordinates

// The window's faces are MS Sans Serif and Arial; where they are missing the
// metric-compatible free face stands in (installed with the program). Asking
// the font database once is far cheaper at start-up than letting every
// control's font fall back from a missing family.
QString installedFamily(const QString& family)
{
    return QFontDatabase::hasFamily(family) ? family : QStringLiteral("Liberation Sans");
}

QFont fontFor(FontRole role)
{
    static const QString headingFamily = installedFamily(QStringLiteral("Arial"));
    static const QString controlFamily = installedFamily(QStringLiteral("MS Sans Serif"));
    const bool heading = role == FontRole::Heading;
    QFont font(heading ? headingFamily : controlFamily);
    font.setPointSizeF(heading || role == FontRole::Large ? 9.75 : 8.25);
    font.setBold(role != FontRole::Regular);
    font.setItalic(heading);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QLabel* makeLabel(const ControlRow& row, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(row.caption), parent);
    // Static text sits at the top of its box, the results end at its right edge.
    const bool rightAligned = row.kind == ControlKind::Output || row.kind == ControlKind::Footer;
    label->setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    if (row.kind == ControlKind::Output)
        setTextColour(label, QColor(255, 0, 0));
    if (row.kind == ControlKind::Footer)
        setTextColour(label, QColor(128, 128, 128));
    return label;
}

} // namespace

MainWindow::MainWindow(const QString& settingsDirectory, QWidget* parent)
    : QWidget(parent)
    , settingsDirectory(settingsDirectory)
{
    setObjectName(QStringLiteral("JOLV"));
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
    buildControls();
    connectSteppers();
    setTabOrder();
    setFixedSize(pixels({0, 0, clientWidthTwips, clientHeightTwips}).size());
    Form_Load();
    // A logout may end the program without closing the window first.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MainWindow::Form_Unload);
}

// Layout, fonts and the stored position all follow the screen's logical DPI.
double MainWindow::twipsPerPixelX() const
{
    return twipsPerInch / screen()->logicalDotsPerInchX();
}

double MainWindow::twipsPerPixelY() const
{
    return twipsPerInch / screen()->logicalDotsPerInchY();
}

QRect MainWindow::pixels(const TwipsRect& twips) const
{
    const double xScale = 1 / twipsPerPixelX();
    const double yScale = 1 / twipsPerPixelY();
    return QRect(qRound(twips.left * xScale), qRound(twips.top * yScale),
                 qRound(twips.width * xScale), qRound(twips.height * yScale));
}

void MainWindow::buildControls()
{
    OPC = new QButtonGroup(this);
    OPC->setObjectName(QStringLiteral("OPC"));
    for (const ControlRow& row : controlTable()) {
        QWidget* control = createControl(row);
        control->setObjectName(QString::fromLatin1(row.name));
        control->setGeometry(pixels(row.twips));
        control->setFont(fontFor(row.font));
        if (*row.toolTip)
            control->setToolTip(QString::fromUtf8(row.toolTip));
        controls.insert(control->objectName(), control);
    }

    // Captions name their field for screen readers, and describe their result.
    for (const ControlRow& row : controlTable()) {
        if (row.kind != ControlKind::Caption)
            continue;
        auto* caption = static_cast<QLabel*>(controls.value(QString::fromLatin1(row.name)));
        QWidget* named = controls.value(QString::fromLatin1(row.names));
        if (qobject_cast<QLineEdit*>(named)) {
            caption->setBuddy(named);
            named->setAccessibleName(caption->text());
            named->setToolTip(caption->toolTip());
        } else if (named) {
            named->setAccessibleDescription(caption->toolTip());
        }
    }

    // The option group is one stop in the tab order, at its selected button;
    // the arrow keys move within it.
    connect(OPC, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        OPC->button(id)->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    });
    for (QAbstractButton* option : OPC->buttons())
        option->setFocusPolicy(Qt::ClickFocus);
    OPC->button(int(drive_speed::Target::Speed))->setChecked(true);
    connect(static_cast<QCheckBox*>(controls.value(QStringLiteral("CInch"))), &QCheckBox::toggled,
            this, &MainWindow::CInch_Click);
    connect(static_cast<QCheckBox*>(controls.value(QStringLiteral("CSpeed"))), &QCheckBox::toggled,
            this, &MainWindow::CSpeed_Click);
    const std::pair<const char*, void (MainWindow::*)()> calculateButtons[] = {
        {"CCalc", &MainWindow::CCalc_Click},
        {"CCalc3", &MainWindow::CCalc3_Click},
        {"CCalc2", &MainWindow::CCalc2_Click},
    };
    for (const auto& [name, handler] : calculateButtons)
        connect(static_cast<QPushButton*>(controls.value(QString::fromLatin1(name))),
                &QPushButton::clicked, this, handler);
    controls.value(QStringLiteral("TTR0"))->installEventFilter(this);
}

QWidget* MainWindow::createControl(const ControlRow& row)
{
    switch (row.kind) {
    case ControlKind::Heading:
    case ControlKind::Caption:
    case ControlKind::Output:
    case ControlKind::Footer:
        return makeLabel(row, this);
    case ControlKind::TextBox: {
        auto* field = new QLineEdit(this);
        if (!std::isnan(row.defaultValue))
            field->setText(fields::numberToText(row.defaultValue));
        return field;
    }
    case ControlKind::Button:
    case ControlKind::Stepper:
        return new QPushButton(QString::fromUtf8(row.caption), this);
    case ControlKind::CheckBox:
        return new QCheckBox(QString::fromUtf8(row.caption), this);
    case ControlKind::Option:
        break;
    }
    auto* option = new QRadioButton(this);
    OPC->addButton(option, OPC->buttons().size());
    return option;
}

void MainWindow::connectSteppers()
{
    for (const steppers::Stepper& stepper : steppers::table()) {
        auto* button =
            static_cast<QPushButton*>(controls.value(QString::fromLatin1(stepper.button)));
        connect(button, &QPushButton::clicked, this, [this, &stepper] { stepperClicked(stepper); });
        button->setAutoRepeat(true); // held down, it steps on and the results follow
        const QString field = controls.value(QString::fromLatin1(stepper.field))->accessibleName();
        button->setAccessibleName(field + (stepper.direction == steppers::Direction::Down
                                               ? QStringLiteral(" verringern")
                                               : QStringLiteral(" erhöhen")));
    }
}

void MainWindow::setTabOrder()
{
    const auto order = tabOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(controls.value(QString::fromLatin1(order[i])),
                             controls.value(QString::fromLatin1(order[i + 1])));
}

void MainWindow::Form_Load()
{
    loading = true;
    pi = windowPi;
    iniPath = settings_file::iniPath(settingsDirectory);

    const settings_file::Settings stored = settings_file::load(iniPath);
    if (stored.top && stored.left) {
        // The frame's top-left corner, applied as stored without a screen
        // check; only beyond the coordinates a window system can hold at all
        // is a position skipped. Files we write always hold both keys.
        const double x = *stored.left / twipsPerPixelX();
        const double y = *stored.top / twipsPerPixelY();
        if (std::fabs(x) <= windowCoordinateLimit && std::fabs(y) <= windowCoordinateLimit)
            move(qRound(x), qRound(y));
    }
    for (auto text = stored.fieldTexts.cbegin(); text != stored.fieldTexts.cend(); ++text)
        apply({{text.key(), text.value()}});
    // Ticking a box here runs its handler, which converts nothing while loading.
    for (auto box = stored.checkBoxes.cbegin(); box != stored.checkBoxes.cend(); ++box)
        static_cast<QCheckBox*>(controls.value(box.key()))->setChecked(box.value());
    loading = false;
}

void MainWindow::Form_Unload()
{
    if (unloaded)
        return;
    unloaded = true;

    settings_file::Settings current;
    const QPoint frame = frameGeometry().topLeft();
    current.top = float(frame.y() * twipsPerPixelY());
    current.left = float(frame.x() * twipsPerPixelX());
    for (const settings_file::Key& key : settings_file::keys()) {
        const QString control = QString::fromLatin1(key.control);
        if (key.kind == settings_file::ValueKind::TextBox)
            current.fieldTexts.insert(control, text(control));
        else if (key.kind == settings_file::ValueKind::CheckBox)
            current.checkBoxes.insert(control, isTicked(control));
    }
    // A failed save leaves the old file as it was; closing goes ahead regardless.
    settings_file::save(iniPath, current);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

QString MainWindow::text(const QString& field) const
{
    return static_cast<QLineEdit*>(controls.value(field))->text();
}

bool MainWindow::isTicked(const QString& checkBox) const
{
    return static_cast<QCheckBox*>(controls.value(checkBox))->isChecked();
}

void MainWindow::apply(const Writes& writes)
{
    for (const FieldWrite& write : writes) {
        QWidget* widget = controls.value(write.control);
        if (auto* field = qobject_cast<QLineEdit*>(widget))
            field->setText(write.text);
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(write.text);
    }
}

void MainWindow::CCalc_Click()
{
    using drive_speed::Target;
    const int option = OPC->checkedId();
    const Target target = option == int(Target::Rpm)     ? Target::Rpm
                          : option == int(Target::Pitch) ? Target::Pitch
                                                         : Target::Speed;
    const drive_speed::Result result = drive_speed::calculate({
        .rpm = text(QStringLiteral("TUM")),
        .pitch = text(QStringLiteral("TAsc")),
        .slip = text(QStringLiteral("TSlip")),
        .speed = text(QStringLiteral("TSpeed")),
        .inch = isTicked(QStringLiteral("CInch")),
        .metresPerSecond = isTicked(QStringLiteral("CSpeed")),
        .target = target,
    });
    apply(result.writes);
    if (result.message != drive_speed::Message::None)
        QMessageBox::information(this, windowTitle(), drive_speed::messageText(result.message));
}

void MainWindow::CInch_Click()
{
    if (loading)
        return;
    apply(
        drive_speed::convertPitch(text(QStringLiteral("TAsc")), isTicked(QStringLiteral("CInch"))));
}

void MainWindow::CSpeed_Click()
{
    if (loading)
        return;
    apply(drive_speed::convertSpeed(text(QStringLiteral("TSpeed")),
                                    isTicked(QStringLiteral("CSpeed"))));
}

void MainWindow::CCalc3_Click()
{
    apply(rotor_blades::calculate({
        .bladeLength = text(QStringLiteral("TBL")),
        .hubLength = text(QStringLiteral("TML")),
        .bladeWeight = text(QStringLiteral("TBW")),
        .rotorSpeed = text(QStringLiteral("TBS")),
        .pi = pi,
    }));
}

void MainWindow::CCalc2_Click()
{
    apply(power_gearing::calculate({
        .speedConstant = text(QStringLiteral("TUV")),
        .cellCount = text(QStringLiteral("TCC")),
        .cellVoltage = text(QStringLiteral("TVC")),
        .pinionTeeth = text(QStringLiteral("TTR1")),
        .gearTeeth = text(QStringLiteral("TTR2")),
        .ratio = text(QStringLiteral("TTR0")),
        .cellResistance = text(QStringLiteral("TRC")),
        .current = text(QStringLiteral("TCA")),
        .cableLength = text(QStringLiteral("TTC0")),
        .cableSection = text(QStringLiteral("TCQ")),
    }));
}

void MainWindow::TTR0_Click()
{
    CCalc2_Click();
}

void MainWindow::stepperClicked(const steppers::Stepper& stepper)
{
    const QString field = QString::fromLatin1(stepper.field);
    apply({{field, steppers::stepped(text(field), stepper)}});
    switch (stepper.panel) {
    case steppers::Panel::Speed:
        CCalc_Click();
        break;
    case steppers::Panel::Rotor:
        CCalc3_Click();
        break;
    case steppers::Panel::Power:
        CCalc2_Click();
        break;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Only a mouse click into the ratio field recalculates, not focus by Tab.
    if (event->type() == QEvent::MouseButtonRelease &&
        watched == controls.value(QStringLiteral("TTR0")) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        TTR0_Click();
    return QWidget::eventFilter(watched, event);
}
