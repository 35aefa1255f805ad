// Ohm's law trainer for the demo course: shows two of U, I and R, asks for the
// third, checks the answer and keeps the score.  A single file with lambdas
// instead of slots, so it needs neither moc nor a .ui file.

#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRandomGenerator>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>

#include <array>
#include <cmath>
#include <optional>

namespace {

enum class Unknown { Voltage, Current, Resistance };

struct Task {
    Unknown unknown = Unknown::Current;
    double volts = 0;
    double amperes = 0;
    double ohms = 0;

    double answer() const
    {
        switch (unknown) {
        case Unknown::Voltage: return volts;
        case Unknown::Current: return amperes;
        case Unknown::Resistance: return ohms;
        }
        return 0;
    }
};

// Values are drawn from short tables so that every answer is a "school" number
// that can be typed exactly, without rounding.
Task makeTask(QRandomGenerator &rng)
{
    constexpr std::array<double, 10> currents{0.1, 0.2, 0.25, 0.5, 1, 1.5, 2, 3, 4, 5};
    constexpr std::array<double, 12> resistances{2, 4, 5, 6, 8, 10, 12, 15, 20, 24, 40, 50};
    Task t;
    do {
        t.amperes = currents[rng.bounded(int(currents.size()))];
        t.ohms = resistances[rng.bounded(int(resistances.size()))];
        t.volts = t.amperes * t.ohms;
    } while (t.volts < 1 || t.volts > 240);
    t.unknown = static_cast<Unknown>(rng.bounded(3));
    return t;
}

QString number(double value)
{
    // Drops a trailing ",0" and writes the decimal comma learners expect.
    return QLocale(QLocale::Russian, QLocale::Russia).toString(value, 'g', 6);
}

QString question(const Task &t)
{
    const QString u = QStringLiteral("напряжение U = %1 В").arg(number(t.volts));
    const QString i = QStringLiteral("сила тока I = %1 А").arg(number(t.amperes));
    const QString r = QStringLiteral("сопротивление R = %1 Ом").arg(number(t.ohms));
    switch (t.unknown) {
    case Unknown::Voltage:
        return QStringLiteral("Дано: %1, %2.\nНайдите напряжение U (в вольтах).").arg(i, r);
    case Unknown::Current:
        return QStringLiteral("Дано: %1, %2.\nНайдите силу тока I (в амперах).").arg(u, r);
    case Unknown::Resistance:
        return QStringLiteral("Дано: %1, %2.\nНайдите сопротивление R (в омах).").arg(u, i);
    }
    return {};
}

QString unitOf(Unknown unknown)
{
    switch (unknown) {
    case Unknown::Voltage: return QStringLiteral("В");
    case Unknown::Current: return QStringLiteral("А");
    case Unknown::Resistance: return QStringLiteral("Ом");
    }
    return {};
}

// Accepts both "0,25" and "0.25"; spaces are ignored.
std::optional<double> parseNumber(QString text)
{
    text.remove(QLatin1Char(' '));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isRight(double given, double expected)
{
    return std::abs(given - expected) <= 1e-3 * std::abs(expected) + 1e-9;
}

struct Score {
    int right = 0;
    int total = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Тренажёр: закон Ома"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Тренажёр: закон Ома"));
    window.setMinimumWidth(520);

    auto *layout = new QVBoxLayout(&window);
    auto *title = new QLabel(QStringLiteral("Закон Ома для участка цепи"), &window);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto *hint = new QLabel(QStringLiteral("I = U / R      U = I · R      R = U / I"), &window);
    auto *task = new QLabel(&window);
    task->setWordWrap(true);
    QFont taskFont = task->font();
    taskFont.setPointSizeF(taskFont.pointSizeF() * 1.2);
    task->setFont(taskFont);

    auto *row = new QHBoxLayout;
    auto *input = new QLineEdit(&window);
    input->setPlaceholderText(QStringLiteral("Ваш ответ, например 2,5"));
    auto *unit = new QLabel(&window);
    auto *check = new QPushButton(QStringLiteral("Проверить"), &window);
    auto *next = new QPushButton(QStringLiteral("Следующая задача"), &window);
    row->addWidget(input, 1);
    row->addWidget(unit);
    row->addWidget(check);
    row->addWidget(next);

    auto *verdict = new QLabel(&window);
    verdict->setWordWrap(true);
    auto *scoreLabel = new QLabel(&window);

    layout->addWidget(title);
    layout->addWidget(hint);
    layout->addSpacing(8);
    layout->addWidget(task);
    layout->addLayout(row);
    layout->addWidget(verdict);
    layout->addStretch(1);
    layout->addWidget(scoreLabel);

    QRandomGenerator rng(QRandomGenerator::global()->generate());
    Task current;
    Score score;

    const auto showScore = [&] {
        scoreLabel->setText(QStringLiteral("Правильных ответов: %1 из %2").arg(score.right).arg(score.total));
    };
    const auto newTask = [&] {
        current = makeTask(rng);
        task->setText(question(current));
        unit->setText(unitOf(current.unknown));
        verdict->clear();
        input->clear();
        input->setEnabled(true);
        check->setEnabled(true);
        input->setFocus();
    };
    const auto checkAnswer = [&] {
        if (!check->isEnabled())
            return;
        const std::optional<double> given = parseNumber(input->text());
        if (!given) {
            verdict->setStyleSheet(QStringLiteral("color: #b36b00;"));
            verdict->setText(QStringLiteral("Введите число, например 12 или 0,5."));
            return;
        }
        // One attempt per task, so the score counts honest answers.
        ++score.total;
        const QString expected = number(current.answer()) + QLatin1Char(' ') + unitOf(current.unknown);
        if (isRight(*given, current.answer())) {
            ++score.right;
            verdict->setStyleSheet(QStringLiteral("color: #1e7b34;"));
            verdict->setText(QStringLiteral("Верно! Ответ: %1.").arg(expected));
        } else {
            verdict->setStyleSheet(QStringLiteral("color: #b71c1c;"));
            verdict->setText(QStringLiteral("Неверно. Правильный ответ: %1.").arg(expected));
        }
        input->setEnabled(false);
        check->setEnabled(false);
        next->setFocus();
        showScore();
    };

    QObject::connect(check, &QPushButton::clicked, &window, checkAnswer);
    QObject::connect(input, &QLineEdit::returnPressed, &window, checkAnswer);
    QObject::connect(next, &QPushButton::clicked, &window, newTask);

    newTask();
    showScore();
    window.show();
    return app.exec();
}
