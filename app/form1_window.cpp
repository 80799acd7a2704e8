#include "app/form1_window.h"

#include "app/control_table.h"
#include "app/fitted_label.h"
#include "app/shape_widget.h"
#include "app/window_font.h"
#include "board/slot_speech.h"
#include "board/symbol_drag.h"
#include "board/symbol_image.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <map>

namespace {

int px(int twips) {
    return twips / kTwipsPerPixel;
}

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Lines are stored with CR LF between them; Qt breaks lines at LF alone.
QString shown(const std::string& text) {
    return qs(text).replace(QLatin1String("\r\n"), "\n");
}

int imageNumber(std::string_view name) {
    return name.starts_with("Image") ? std::stoi(std::string(name.substr(5))) : 0;
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

const std::map<std::string_view, QString> kPortraitNames{
    {"Picture1", "Портрет: Джордж Буль"},
    {"Picture2", "Портрет: Огастес де Морган"},
    {"Picture3", "Портрет: Готфрид Вильгельм Лейбниц"},
};

} // namespace

QColor colorFromValue(ColorValue value, const QPalette& palette) {
    if (value & 0x80000000u) {
        switch (value & 0xFFu) {
        case 0x0F:
            return palette.color(QPalette::Button);
        case 0x16:
            return palette.color(QPalette::Midlight);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

Form1Window::Form1Window(QWidget* parent) : QWidget(parent), token(newWindowToken()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    // Scalable: each size is drawn only when the desktop first asks for it.
    setWindowIcon(QIcon(QStringLiteral(":/icon.svg")));
    setFont(windowFont());
    setFixedSize(px(kClientWidthTwips), px(kClientHeightTwips));
    buildControls();
    connectEvents();
    form.Form_Load();
    render();
    if (QWidget* check = control(QStringLiteral("Command1"))) check->setFocus();
}

void Form1Window::buildControls() {
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

    std::vector<const ControlEntry*> tabbed;
    for (const ControlEntry& c : table)
        if (c.tabIndex >= 0 && isWindowed(c.kind) && c.kind != ControlKind::frame)
            tabbed.push_back(&c);
    std::sort(tabbed.begin(), tabbed.end(),
              [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < tabbed.size(); ++i)
        setTabOrder(control(qs(tabbed[i - 1]->name)), control(qs(tabbed[i]->name)));

    // The controls the state is rendered into.
    label2 = findChild<QLabel*>(QStringLiteral("Label2"));
    label3 = findChild<QLabel*>(QStringLiteral("Label3"));
    label4 = findChild<QLabel*>(QStringLiteral("Label4"));
    label5 = findChild<QLabel*>(QStringLiteral("Label5"));
    label6 = findChild<QLabel*>(QStringLiteral("Label6"));
    label9 = findChild<QLabel*>(QStringLiteral("Label9"));
    text1 = findChild<QLineEdit*>(QStringLiteral("Text1"));
    command3 = findChild<QPushButton*>(QStringLiteral("Command3"));
}

QWidget* Form1Window::makeControl(const ControlEntry& row, QWidget* container) {
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
        box->setAccessibleName(kPortraitNames.at(row.name));
        widget = box;
        break;
    }
    case ControlKind::optionButton: {
        auto* option = new QRadioButton(text, parent);
        const int index = row.name.ends_with("(1)") ? 1 : 0;
        option->setAccessibleName(index == 0 ? QStringLiteral("Тренажер") : QStringLiteral("Тест"));
        option1[static_cast<std::size_t>(index)] = option;
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
        widget = new ShapeWidget(row.backColor != kNoColor && row.name == "Shape1"
                                     ? colorFromValue(row.backColor, palette())
                                     : QColor(),
                                 parent);
        break;
    case ControlKind::image: {
        auto* image = new SymbolImage(parent);
        const int n = imageNumber(row.name);
        if (const SymbolRow* symbol = paletteSymbol(n)) {
            image->setPicture(palettePicture(n));
            image->makeDragSource(qs(symbol->tag), token);
            image->setAccessibleName(qs(glyphSpokenName(symbol->glyph)));
        } else if (n >= kFirstSlotImage && n < kFirstSlotImage + kSlotCount) {
            image->makeDropTarget(token);
            slotImages[static_cast<std::size_t>(n - kFirstSlotImage)] = image;
            connect(image, &SymbolImage::symbolDropped, this, [this, n](const QString& tag) {
                handle([&] { form.Image_DragDrop(n, tag.toStdString()); });
            });
        } else {
            image->setPicture(n == 37 ? Picture::blank() : hintPicture(n));
        }
        widget = image;
        break;
    }
    }
    widget->setObjectName(qs(row.name));
    widget->setGeometry(px(row.left), px(row.top), px(row.width), px(row.height));
    if (row.fontPt > 0) setPointSize(widget, row.fontPt, row.italic);
    if (row.foreColor != kNoColor) setForeColor(widget, colorFromValue(row.foreColor, palette()));
    if (row.backColor != kNoColor && row.kind == ControlKind::label)
        setBackColor(widget, colorFromValue(row.backColor, palette()));
    widget->setVisible(row.visible);
    byName.insert(widget->objectName(), widget);

    return widget;
}

void Form1Window::connectEvents() {
    auto button = [this](const char* name) {
        return static_cast<QPushButton*>(control(QString::fromLatin1(name)));
    };
    connect(button("Command1"), &QPushButton::clicked, this,
            [this] { handle([&] { form.Command1_Click(); }); });
    connect(button("Command2"), &QPushButton::clicked, this,
            [this] { handle([&] { form.Command2_Click(); }); });
    connect(command3, &QPushButton::clicked, this,
            [this] { handle([&] { form.Command3_Click(); }); });
    connect(button("Cmd3_Start"), &QPushButton::clicked, this,
            [this] { handle([&] { form.Cmd3_Start_Click(); }); });
    connect(button("Command4"), &QPushButton::clicked, this, &Form1Window::showRulesBox);
    for (int index : {0, 1})
        connect(option1[static_cast<std::size_t>(index)], &QRadioButton::clicked, this,
                [this, index] { handle([&] { form.SelectOption1(index); }); });
}

void Form1Window::showRulesBox() {
    const MessageBoxText box = form.Command4_Click();
    QMessageBox message(QMessageBox::NoIcon, qs(box.title), shown(box.text), QMessageBox::Ok, this);
    message.setObjectName(QStringLiteral("RulesBox"));
    message.exec();
}

void Form1Window::render() {
    const FormState& s = form.state;
    for (int k = 1; k <= kSlotCount; ++k) {
        SymbolImage* image = slotImages[static_cast<std::size_t>(k - 1)];
        image->setPicture(slotAt(s, k).picture);
        // Renamed only when it changes, so a screen reader hears what changed, not every slot.
        const QString name = QString::fromStdString(slotSpokenName(k, slotAt(s, k)));
        if (image->accessibleName() != name) image->setAccessibleName(name);
    }
    label2->setText(shown(s.label2));
    if (label2->font().pointSizeF() != s.label2FontPt) setPointSize(label2, s.label2FontPt);
    label3->setText(shown(s.label3));
    label4->setText(shown(s.label4));
    label5->setText(shown(s.label5));
    label6->setText(shown(s.label6));
    label6->setVisible(s.label6Visible);
    setBackColor(label6, colorFromValue(s.label6BackColor, palette()));
    label9->setText(shown(s.label9));
    label9->setVisible(s.label9Visible);
    setBackColor(label9, colorFromValue(s.label9BackColor, palette()));
    text1->setText(shown(s.text1));
    command3->setVisible(s.command3Visible);
    command3->setEnabled(s.command3Enabled);
    for (int index : {0, 1}) {
        QRadioButton* option = option1[static_cast<std::size_t>(index)];
        const QSignalBlocker quiet(option);
        // Both unchecked is a valid state only before the load handler has run.
        option->setAutoExclusive(false);
        option->setChecked(s.option1[static_cast<std::size_t>(index)]);
        option->setAutoExclusive(true);
    }
}
