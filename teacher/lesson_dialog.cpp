#include "teacher/lesson_dialog.h"

#include "core/laws.h"
#include "journal/qt_text.h"
#include "teacher/teacher_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kLawRows = (kLawCount + 1) / 2; // the laws in two columns

QSpinBox* shareBox(const char* name, int share, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, 100);
    box->setSuffix(QStringLiteral(" %"));
    box->setValue(share);
    return box;
}

// The laws at their whole size while the screen has room; scrolled on a small screen at a
// large zoom.
class LawsArea : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
    }
};

} // namespace

LessonDialog::LessonDialog(QWidget* parent, const Lesson& lesson, double factor) : QDialog(parent) {
    setObjectName(QStringLiteral("Lesson"));
    setWindowTitle(QStringLiteral("Задание"));
    auto* lines = new QVBoxLayout(this);

    auto* lawsArea = new LawsArea(this);
    lawsArea->setWidgetResizable(true);
    lawsArea->setFrameShape(QFrame::NoFrame);
    auto* lawsBox = new QGroupBox(QStringLiteral("Законы"), lawsArea);
    auto* lawGrid = new QGridLayout(lawsBox);
    allLaws = new QCheckBox(QStringLiteral("все"), lawsBox);
    allLaws->setObjectName(QStringLiteral("allLaws"));
    lawGrid->addWidget(allLaws, 0, 0);
    for (int n = 1; n <= kLawCount; ++n) {
        auto* box = new QCheckBox(QStringLiteral("%1. %2").arg(n).arg(qs(law(n).name)), lawsBox);
        box->setObjectName(QStringLiteral("law%1").arg(n));
        const bool asked = lesson.laws.empty() || std::find(lesson.laws.begin(), lesson.laws.end(),
                                                            n) != lesson.laws.end();
        box->setChecked(asked);
        lawGrid->addWidget(box, 1 + (n - 1) % kLawRows, (n - 1) / kLawRows);
        connect(box, &QCheckBox::toggled, this, &LessonDialog::followLaws);
        laws.push_back(box);
    }
    // Clicked, «все» checks every law, or none once all are; it shows the laws' state otherwise.
    connect(allLaws, &QCheckBox::clicked, this, &LessonDialog::allLawsClicked);
    lawsArea->setWidget(lawsBox);
    lines->addWidget(lawsArea, 1);

    auto* form = new QFormLayout;
    minutes = new QSpinBox(this);
    minutes->setObjectName(QStringLiteral("minutes"));
    minutes->setRange(0, kMaxMinutes);
    minutes->setSpecialValueText(QStringLiteral("нет"));
    minutes->setSuffix(QStringLiteral(" мин"));
    minutes->setValue(lesson.minutes);
    form->addRow(QStringLiteral("Время на тест:"), minutes);
    order = new QComboBox(this);
    order->setObjectName(QStringLiteral("order"));
    order->addItems({QStringLiteral("по порядку"), QStringLiteral("у каждого ученика свой")});
    order->setCurrentIndex(lesson.shuffled ? 1 : 0);
    form->addRow(QStringLiteral("Порядок вопросов:"), order);
    five = shareBox("five", lesson.marks.five, this);
    four = shareBox("four", lesson.marks.four, this);
    three = shareBox("three", lesson.marks.three, this);
    form->addRow(QStringLiteral("5 — от"), five);
    form->addRow(QStringLiteral("4 — от"), four);
    form->addRow(QStringLiteral("3 — от"), three);
    lines->addLayout(form);
    for (QSpinBox* share : {five, four, three})
        connect(share, &QSpinBox::valueChanged, this, &LessonDialog::judge);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    lines->addWidget(buttons);

    followLaws();
    scaleTeacherWindow(this, factor);
    fitWindowToScreen(this, nullptr);
}

void LessonDialog::followLaws() {
    const auto checked = std::count_if(laws.begin(), laws.end(),
                                       [](const QCheckBox* box) { return box->isChecked(); });
    allLaws->setCheckState(checked == 0           ? Qt::Unchecked
                           : checked == kLawCount ? Qt::Checked
                                                  : Qt::PartiallyChecked);
    judge();
}

void LessonDialog::allLawsClicked() {
    const bool all = std::all_of(laws.begin(), laws.end(),
                                 [](const QCheckBox* box) { return box->isChecked(); });
    for (QCheckBox* box : laws) {
        const QSignalBlocker quiet(box);
        box->setChecked(!all);
    }
    followLaws();
}

// A lesson asks some law, and its marks fall from 5 to 3.
void LessonDialog::judge() {
    const bool anyLaw = std::any_of(laws.begin(), laws.end(),
                                    [](const QCheckBox* box) { return box->isChecked(); });
    const bool marksFall = five->value() > four->value() && four->value() > three->value();
    buttons->button(QDialogButtonBox::Ok)->setEnabled(anyLaw && marksFall);
}

Lesson LessonDialog::lesson() const {
    Lesson set;
    for (int n = 1; n <= kLawCount; ++n)
        if (laws[std::size_t(n - 1)]->isChecked()) set.laws.push_back(n);
    if (int(set.laws.size()) == kLawCount) set.laws.clear();
    set.minutes = minutes->value();
    set.shuffled = order->currentIndex() == 1;
    set.marks = {five->value(), four->value(), three->value()};
    return set;
}
