#include "pupil/main_window.h"

#include "core/slot_speech.h"
#include "journal/journal_file.h"
#include "journal/qt_text.h"
#include "look/window_font.h"
#include "pupil/control_table.h"
#include "pupil/fitted_label.h"
#include "pupil/negation_bars.h"
#include "pupil/shape_widget.h"
#include "pupil/symbol_drag.h"
#include "pupil/symbol_image.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <map>

namespace {

// A position in twips as pixels at the given zoom factor.
int px(int twips, double factor) {
    return qRound(twips * factor / kTwipsPerPixel);
}

// A control's box at the given zoom: each edge scaled on its own, so that controls which touch
// at 100 % (the slots of the row) still touch at every factor.
QRect scaledBox(const ControlEntry& row, double factor) {
    const int left = px(row.left, factor), top = px(row.top, factor);
    return QRect(left, top, px(row.left + row.width, factor) - left,
                 px(row.top + row.height, factor) - top);
}

void setPointSize(QWidget* widget, double pt, bool italic = false) {
    QFont font = widget->font();
    font.setPointSizeF(pt);
    font.setItalic(italic);
    widget->setFont(font);
}

void setBackColor(QWidget* widget, QColor color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setForeColor(QWidget* widget, QColor color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

// The style draws an option button's round indicator at one size; at another zoom it is asked
// for the scaled size, so that it fills its box as at 100 %.
void scaleIndicator(QRadioButton* option, double factor) {
    if (factor == 1.0) {
        option->setStyleSheet({});
        return;
    }
    const QStyle* style = option->style();
    const int side = qRound(style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) * factor);
    const int spacing = qRound(style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) * factor);
    option->setStyleSheet(QStringLiteral("QRadioButton { spacing: %2px; }"
                                         "QRadioButton::indicator { width: %1px; height: %1px; }")
                              .arg(side)
                              .arg(spacing));
}

const std::map<std::string_view, QString> kPortraitNames{
    {"Picture1", "Портрет: Джордж Буль"},
    {"Picture2", "Портрет: Огастес де Морган"},
    {"Picture3", "Портрет: Готфрид Вильгельм Лейбниц"},
};

} // namespace

QColor shownColour(Colour colour, const QPalette& palette) {
    switch (colour.role) {
    case Colour::Role::buttonFace:
        return palette.color(QPalette::Button);
    case Colour::Role::light:
        return palette.color(QPalette::Midlight);
    case Colour::Role::rgb:
        break;
    }
    return QColor::fromRgb(colour.rgb);
}

MainWindow::MainWindow(QWidget* parent) : QWidget(parent), token(newWindowToken()) {
    SymbolImage::installAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    // Scalable: each size is drawn only when the desktop first asks for it.
    setWindowIcon(QIcon(QStringLiteral(":/icon.svg")));
    buildControls();
    layOut(); // sets the window's font, at its zoom
    clock = new QTimer(this);
    clock->setInterval(250);
    connect(clock, &QTimer::timeout, this, [this] { handle([&] { core.tick(); }); });
    connectEvents();
    setUpActions();
    watchRun();
    core.load();
    render();
    if (QWidget* check = control(QStringLiteral("Command1"))) check->setFocus();
    // Symbol keys are typed wherever the focus is in the window.
    qApp->installEventFilter(this);
}

void MainWindow::buildControls() {
    const auto table = controlTable();
    // Later siblings are drawn on top: the windowless controls first, bottom one first, then
    // the windowed ones the same way, then what sits inside the frames.
    auto buildPass = [&](auto wanted) {
        for (auto it = table.rbegin(); it != table.rend(); ++it)
            if (wanted(*it)) makeControl(*it, control(qs(it->container)));
    };
    buildPass([](const ControlEntry& c) { return c.container.empty() && !isWindowed(c.kind); });
    buildPass([](const ControlEntry& c) { return c.container.empty() && isWindowed(c.kind); });
    buildPass([](const ControlEntry& c) { return !c.container.empty(); });

    // The row and the palette come first in the Tab order, as they stand on screen above and
    // beside the check button; each is one stop, the arrow keys move within it.
    std::vector<const ControlEntry*> tabbed;
    for (const ControlEntry& c : table)
        if (c.tabIndex >= 0 && isWindowed(c.kind) && c.kind != ControlKind::frame)
            tabbed.push_back(&c);
    std::sort(tabbed.begin(), tabbed.end(),
              [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    // Only widgets that take Tab focus can be ordered; render() then narrows each group to one.
    for (SymbolImage* image : slotImages)
        image->setFocusPolicy(Qt::TabFocus);
    for (SymbolImage* image : paletteSymbols)
        image->setFocusPolicy(Qt::TabFocus);
    std::vector<QWidget*> chain(slotImages.begin(), slotImages.end());
    std::sort(paletteSymbols.begin(), paletteSymbols.end(), [](QWidget* a, QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    chain.insert(chain.end(), paletteSymbols.begin(), paletteSymbols.end());
    for (const ControlEntry* c : tabbed)
        chain.push_back(control(qs(c->name)));
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    currentPaletteSymbol = paletteSymbols.front();

    // The joined negation bars lie over the whole row, above the outlines of the odd slots.
    negationBars = new NegationBars(kSlotCount, this);
    negationBars->raise();

    // The controls the state is rendered into.
    for (const auto& [widget, row] : placed) {
        auto* label = qobject_cast<QLabel*>(widget);
        switch (row->role) {
        case ControlRole::lawName:
            lawName = label;
            break;
        case ControlRole::questionNumber:
            questionShown = label;
            break;
        case ControlRole::rightCount:
            rightShown = label;
            break;
        case ControlRole::wrongCount:
            wrongShown = label;
            break;
        case ControlRole::prompt:
            prompt = label;
            break;
        case ControlRole::instructions:
            instructions = label;
            break;
        case ControlRole::verdict:
            verdict = qobject_cast<QLineEdit*>(widget);
            break;
        case ControlRole::hintButton:
            hintButton = qobject_cast<QPushButton*>(widget);
            break;
        case ControlRole::timeLeft:
            timeLeft = label;
            break;
        default:
            break;
        }
    }
}

QWidget* MainWindow::makeControl(const ControlEntry& row, QWidget* container) {
    QWidget* parent = container ? container : this;
    const QString text = qs(row.text);
    QWidget* widget = nullptr;
    switch (row.kind) {
    case ControlKind::commandButton:
        widget = new QPushButton(text, parent);
        break;
    case ControlKind::textBox: {
        auto* box = new QLineEdit(text, parent);
        box->setReadOnly(true);
        widget = box;
        break;
    }
    case ControlKind::pictureBox: {
        auto* box = new QLabel(parent);
        box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        box->setPixmap(QPixmap(text));
        portraits.push_back({box, box->pixmap()});
        box->setAccessibleName(kPortraitNames.at(row.name));
        widget = box;
        break;
    }
    case ControlKind::optionButton: {
        auto* option = new QRadioButton(text, parent);
        const bool test = row.role == ControlRole::testOption;
        option->setAccessibleName(test ? QStringLiteral("Тест") : QStringLiteral("Тренажер"));
        (test ? testOption : trainerOption) = option;
        widget = option;
        break;
    }
    case ControlKind::frame:
        widget = new QGroupBox(text, parent);
        break;
    case ControlKind::label: {
        auto* label = new FittedLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        break;
    }
    case ControlKind::shape:
        widget = new ShapeWidget(
            row.role == ControlRole::rowBand ? QColor::fromRgb(row.backColor) : QColor(), parent);
        break;
    case ControlKind::image: {
        auto* image = new SymbolImage(parent);
        const Symbol* symbol = symbolByTag(row.text);
        if (row.role == ControlRole::slot) {
            const int k = row.slot;
            image->makeDropTarget(token);
            slotImages[static_cast<std::size_t>(k - 1)] = image;
            connect(image, &SymbolImage::symbolDropped, this, [this, k](const QString& tag) {
                caretMarked = false;
                handle([&] { core.drop(k, tag.toStdString()); });
            });
            connect(image, &SymbolImage::clicked, this, [this, k] {
                caretMarked = false;
                handle([&] { core.placePicked(k); });
            });
        } else if (row.role == ControlRole::paletteSymbol) {
            image->setPicture(Picture::blue(symbol->glyph));
            image->makeDragSource(qs(symbol->tag), token);
            image->setAccessibleName(qs(symbol->spoken));
            paletteSymbols.push_back(image);
            connect(image, &SymbolImage::clicked, this,
                    [this, symbol] { handle([&] { core.pick(symbol->tag); }); });
        } else if (row.role == ControlRole::hintPicture) {
            image->setPicture(Picture::red(symbol->glyph));
        } else {
            image->setPicture(Picture::blank());
        }
        widget = image;
        break;
    }
    }
    widget->setObjectName(qs(row.name));
    widget->setGeometry(scaledBox(row, factor)); // for the Tab order, which follows the screen
    placed.push_back({widget, &row});
    if (row.foreColor != kNoColor) setForeColor(widget, QColor::fromRgb(row.foreColor));
    if (row.backColor != kNoColor && row.kind == ControlKind::label)
        setBackColor(widget, QColor::fromRgb(row.backColor));
    widget->setVisible(row.visible);
    byName.insert(widget->objectName(), widget);

    return widget;
}

void MainWindow::connectEvents() {
    auto onClick = [this](QAbstractButton* button, void (Form::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { handle([&] { (core.*handler)(); }); });
    };
    for (const auto& [widget, row] : placed) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        switch (row->role) {
        case ControlRole::checkButton:
            onClick(button, &Form::check);
            break;
        case ControlRole::clearButton:
            onClick(button, &Form::clear);
            break;
        case ControlRole::hintButton:
            onClick(button, &Form::hint);
            break;
        case ControlRole::startButton:
            // Where names are asked, nothing starts until the pupil has given one.
            connect(button, &QAbstractButton::clicked, this, [this] {
                if (askName && pupilName.isEmpty() && !askForPupil()) return;
                caretMarked = false;
                handle([&] { core.start(); });
            });
            break;
        case ControlRole::rulesButton:
            connect(button, &QAbstractButton::clicked, this, &MainWindow::showRulesBox);
            break;
        default:
            break;
        }
    }
    connect(trainerOption, &QRadioButton::clicked, this,
            [this] { handle([&] { core.selectMode(Mode::trainer); }); });
    connect(testOption, &QRadioButton::clicked, this,
            [this] { handle([&] { core.selectMode(Mode::test); }); });
}

void MainWindow::showRulesBox() {
    QMessageBox message(QMessageBox::NoIcon, qs(kRulesTitle), qs(Form::rulesText()),
                        QMessageBox::Ok, this);
    message.setObjectName(QStringLiteral("RulesBox"));
    message.setFont(font()); // at the window's zoom
    message.exec();
}

void MainWindow::render() {
    const FormState& s = core.state;
    // The answer a check left, from its first symbol to its last, marked only once the keyboard
    // is in use: the pupil who works with the mouse sees the row as it always was.
    int markedFrom = kSlotCount + 1, markedTo = 0;
    for (int k = 1; s.answerMarked && caretMarked && k <= kSlotCount; ++k)
        if (!s.slot(k).tag.empty()) markedFrom = std::min(markedFrom, k), markedTo = k;
    for (int k = 1; k <= kSlotCount; ++k) {
        SymbolImage* image = slotImages[static_cast<std::size_t>(k - 1)];
        image->setPicture(s.slot(k).picture);
        // Renamed only when it changes, so a screen reader hears what changed, not every slot.
        QString name = QString::fromStdString(slotSpokenName(k, s.slot(k)));
        const bool caret = k == s.caret;
        image->setFocusPolicy(caret ? Qt::TabFocus : Qt::NoFocus);
        image->setCaretMarked(caret && caretMarked);
        image->setInMarkedAnswer(k >= markedFrom && k <= markedTo);
        image->setMark(caret && s.barsTyped > 0 ? QString(s.barsTyped, QChar(0x00AC)) : QString());
        if (caret && s.barsTyped > 0) name += QStringLiteral(", ждёт символ под чертой");
        if (image->accessibleName() != name) image->setAccessibleName(name);
    }
    negationBars->setRow(s.row);
    // The row's keyboard focus follows the caret.
    SymbolImage* caretSlot = slotImages[static_cast<std::size_t>(s.caret - 1)];
    if (std::any_of(slotImages.begin(), slotImages.end(), [](auto* i) { return i->hasFocus(); }))
        caretSlot->setFocus(Qt::OtherFocusReason);
    for (SymbolImage* symbol : paletteSymbols) {
        symbol->setPicked(symbol->tag() == qs(s.picked));
        symbol->setFocusPolicy(symbol == currentPaletteSymbol ? Qt::TabFocus : Qt::NoFocus);
    }
    lawName->setText(qs(s.lawName));
    if (lawName->font().pointSizeF() != s.lawNamePt * factor)
        setPointSize(lawName, s.lawNamePt * factor);
    questionShown->setText(qs(s.questionShown));
    rightShown->setText(qs(s.rightShown));
    wrongShown->setText(qs(s.wrongShown));
    prompt->setText(qs(s.prompt));
    prompt->setVisible(s.promptVisible);
    setBackColor(prompt, shownColour(s.promptBack, palette()));
    instructions->setText(qs(s.instructions));
    instructions->setVisible(s.instructionsVisible);
    setBackColor(instructions, shownColour(s.instructionsBack, palette()));
    setForeColor(instructions, shownColour(s.instructionsInk, palette()));
    verdict->setText(qs(s.verdict));
    hintButton->setVisible(s.hintButtonVisible);
    hintButton->setEnabled(s.hintButtonVisible);
    timeLeft->setText(QStringLiteral("Осталось ") + qs(s.timeLeft));
    timeLeft->setVisible(!s.timeLeft.empty());
    // A few ticks a second: the seconds shown change on time, and the end comes within a tick.
    const bool timed = !s.timeLeft.empty() && core.run.ending == RunEnding::going;
    if (timed && !clock->isActive()) clock->start();
    if (!timed) clock->stop();
    for (auto [option, mode] :
         {std::pair{trainerOption, Mode::trainer}, {testOption, Mode::test}}) {
        const QSignalBlocker quiet(option);
        option->setChecked(s.mode == mode);
    }
}

void MainWindow::layOut() {
    // Fonts first: a label measures its text with the font it has when it is resized.
    QFont font = windowFont();
    font.setPointSizeF(kWindowFontPt * factor);
    setFont(font);
    const int line = std::max(1, qRound(factor));
    for (const auto& [widget, row] : placed) {
        QRect box = scaledBox(*row, factor);
        if (row->container.empty()) box.translate(formOffset);
        if (row->fontPt > 0) setPointSize(widget, row->fontPt * factor, row->italic);
        widget->setGeometry(box);
        if (auto* shape = dynamic_cast<ShapeWidget*>(widget)) shape->setLineWidth(line);
        if (auto* frame = qobject_cast<QFrame*>(widget);
            frame && frame->frameShape() == QFrame::Panel)
            frame->setLineWidth(line);
        if (auto* option = qobject_cast<QRadioButton*>(widget)) scaleIndicator(option, factor);
    }
    // Portraits scaled smoothly from their pictures, at the screen's pixel ratio; as they are
    // at 100 %.
    for (const auto& [box, picture] : portraits) {
        if (factor == 1.0) {
            box->setPixmap(picture);
            continue;
        }
        const qreal ratio = devicePixelRatioF();
        QPixmap scaled = picture.scaled(picture.size() * factor * ratio, Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        box->setPixmap(scaled);
    }
    negationBars->setGeometry(slotImages.front()->geometry().united(slotImages.back()->geometry()));
    if (!isFullScreen())
        setFixedSize(px(kClientWidthTwips, factor), px(kClientHeightTwips, factor));
}

int MainWindow::largestFittingZoom() const {
    const QScreen* shown = screen();
    if (!shown) return kZoomSteps.front();
    // The frame the desktop draws round the window takes room too.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    const QSize room = shown->availableGeometry().size() - frame;
    int largest = kZoomSteps.front();
    for (int step : kZoomSteps)
        if (px(kClientWidthTwips, step / 100.0) <= room.width() &&
            px(kClientHeightTwips, step / 100.0) <= room.height())
            largest = step;
    return largest;
}

void MainWindow::setZoom(int percent) {
    percent = std::min(percent, largestFittingZoom());
    if (std::find(kZoomSteps.begin(), kZoomSteps.end(), percent) == kZoomSteps.end()) return;
    const bool changed = percent != zoom;
    zoom = percent;
    if (!isFullScreen()) {
        factor = zoom / 100.0;
        layOut();
        render();
    }
    if (changed) emit displayChanged(zoom, isFullScreen());
}

void MainWindow::setFullScreenForm(bool on) {
    if (on == isFullScreen()) return;
    if (on) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        showFullScreen();
    } else {
        showNormal();
        factor = zoom / 100.0;
        formOffset = {};
        layOut();
        render();
    }
    emit displayChanged(zoom, on);
}

// Shown, the window knows its frame: a zoom asked for before (an option, a remembered choice)
// that does not fit with it steps down.
void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!isFullScreen() && zoom > largestFittingZoom()) setZoom(zoom);
}

// In full screen the form is drawn at the largest factor that fits, centred.
void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!isFullScreen()) return;
    const double wide = px(kClientWidthTwips, 1), high = px(kClientHeightTwips, 1);
    factor = std::min(width() / wide, height() / high);
    formOffset =
        QPoint(qRound((width() - wide * factor) / 2), qRound((height() - high * factor) / 2));
    layOut();
    render();
}
