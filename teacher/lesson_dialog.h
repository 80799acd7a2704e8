// «Задание»: the teacher sets the lesson for the class — the laws a run asks, a test's time
// limit, the order of the questions and the marks.
#pragma once

#include "core/lesson.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QSpinBox;

class LessonDialog : public QDialog {
    Q_OBJECT
  public:
    // Filled from `lesson`, at the teacher's windows' `factor`.
    LessonDialog(QWidget* parent, const Lesson& lesson, double factor);

    // The lesson as set now.
    Lesson lesson() const;

  private:
    void followLaws();
    void allLawsClicked();
    void judge();

    std::vector<QCheckBox*> laws; // law n at n - 1
    QCheckBox* allLaws = nullptr;
    QSpinBox* minutes = nullptr;
    QComboBox* order = nullptr;
    QSpinBox *five = nullptr, *four = nullptr, *three = nullptr;
    QDialogButtonBox* buttons = nullptr;
};
