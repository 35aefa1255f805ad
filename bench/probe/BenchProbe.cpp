// A generic Qt plugin that the benchmark loads into a program it starts
// (QT_QPA_GENERIC_PLUGINS=korveltaprobe), so that the real program is timed
// and driven without any code of its own for it. It notes when each window
// first reaches the screen and when each page viewer finishes a page, and it
// answers commands read from standard input, one per line, with one line
// "probe <word> <values>" on standard output. Times are milliseconds from the
// start of the process.
//
// Widgets are found by their fixed object names; the page viewers are
// QWebEngineView objects, reached through their properties and signals by
// name, so the plugin links no more than the widget toolkit.

#include "ProbeSupport.h"

#include <QAction>
#include <QApplication>
#include <QChildEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGenericPlugin>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

using ProbeSupport::bootClockMs;
using ProbeSupport::child;
using ProbeSupport::processStartMs;
using ProbeSupport::topLevel;

class Probe final : public QObject
{
    Q_OBJECT

public:
    Probe()
        : m_start(processStartMs())
        , m_input(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this))
    {
        m_loadedAt = now();
        qApp->installEventFilter(this);
        connect(m_input, &QSocketNotifier::activated, this, &Probe::readCommand);
        // A view made before the event loop runs (a window without parent) is found here.
        QTimer::singleShot(0, this, &Probe::adoptViews);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Paint:
            if (watched->isWidgetType())
                notePaint(static_cast<QWidget *>(watched)->window());
            break;
        case QEvent::ChildAdded:
            m_newChildren.append(static_cast<QChildEvent *>(event)->child());
            if (!m_adoptPending) {
                m_adoptPending = true;
                QTimer::singleShot(0, this, &Probe::adoptViews);
            }
            break;
        case QEvent::Show:
        case QEvent::Hide:
            if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
                QTimer::singleShot(0, this, &Probe::changed);
            break;
        default:
            break;
        }
        return false;
    }

private slots:
    void loadFinished(bool ok)
    {
        auto *view = qobject_cast<QWidget *>(sender());
        if (!view)
            return;
        View &state = m_views[windowName(view)];
        ++state.loads;
        state.lastLoad = now();
        state.lastOk = ok;
        state.lastUrl = view->property("url").toUrl();
        changed();
    }

private:
    struct View
    {
        QPointer<QWidget> widget;
        int loads = 0;
        double lastLoad = 0;
        bool lastOk = false;
        QUrl lastUrl;
    };

    double now() const { return bootClockMs() - m_start; }

    // The window a view stands in, by name; a view that is a window itself is "".
    static QString windowName(const QWidget *view)
    {
        return view->isWindow() ? QString() : view->window()->objectName();
    }

    // Posted when a window first paints; delivered once the painting and the
    // flush after it are done, ahead of anything else waiting (whatever the
    // program itself queued meanwhile, such as starting slow work).
    class PaintedEvent final : public QEvent
    {
    public:
        explicit PaintedEvent(const QString &window) : QEvent(type()), window(window) {}
        static Type type()
        {
            static const int registered = QEvent::registerEventType();
            return Type(registered);
        }
        const QString window;
    };

    void notePaint(QWidget *window)
    {
        const QString name = window->objectName();
        if (m_firstPaint.contains(name) || m_paintPending.contains(name))
            return;
        m_paintPending.insert(name, true);
        QCoreApplication::postEvent(this, new PaintedEvent(name), Qt::HighEventPriority);
    }

    bool event(QEvent *event) override
    {
        if (event->type() != PaintedEvent::type())
            return QObject::event(event);
        m_firstPaint.insert(static_cast<PaintedEvent *>(event)->window, now());
        changed();
        return true;
    }

    void adoptViews()
    {
        m_adoptPending = false;
        QList<QPointer<QObject>> candidates;
        candidates.swap(m_newChildren);
        for (QWidget *widget : QApplication::topLevelWidgets())
            candidates.append(widget);
        for (const QPointer<QObject> &object : std::as_const(candidates)) {
            if (!object || !object->inherits("QWebEngineView") || m_adopted.contains(object.data()))
                continue;
            m_adopted.insert(object.data(), true);
            connect(object.data(), &QObject::destroyed, this, [this](QObject *gone) { m_adopted.remove(gone); });
            connect(object.data(), SIGNAL(loadFinished(bool)), this, SLOT(loadFinished(bool)));
            m_views[windowName(static_cast<QWidget *>(object.data()))].widget = static_cast<QWidget *>(object.data());
        }
    }

    void changed()
    {
        if (m_check)
            m_check();
    }

    // Runs the event loop until `done` holds; false after `limitMs`.
    bool waitFor(const std::function<bool()> &done, int limitMs = 30000)
    {
        if (done())
            return true;
        QEventLoop loop;
        m_check = [&] {
            if (done())
                loop.quit();
        };
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, [&] { loop.exit(1); });
        limit.start(limitMs);
        const bool ok = loop.exec() == 0;
        m_check = nullptr;
        return ok;
    }

    static void reply(const QString &text)
    {
        std::fprintf(stdout, "probe %s\n", qPrintable(text));
        std::fflush(stdout);
    }

    static QString ms(double value) { return QString::number(value, 'f', 3); }

    void readCommand()
    {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            // The benchmark is gone: end as a user would close the program.
            m_input->setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        m_pending += QByteArray(buffer, int(got));
        // Commands wait in nested event loops; the next one is read after.
        m_input->setEnabled(false);
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(m_pending.left(end));
            m_pending.remove(0, end + 1);
            run(line);
        }
        m_input->setEnabled(true);
    }

    void run(const QString &line)
    {
        const QString word = line.section(QLatin1Char(' '), 0, 0);
        const QString rest = line.section(QLatin1Char(' '), 1);
        if (word == QLatin1String("painted")) {
            // painted WINDOW: when that window first reached the screen.
            const bool ok = waitFor([&] { return m_firstPaint.contains(rest); });
            reply(ok ? QStringLiteral("painted %1").arg(ms(m_firstPaint.value(rest))) : QStringLiteral("timeout"));
        } else if (word == QLatin1String("loaded")) {
            // loaded WINDOW: when the view in that window ("" for a view that is a window) first finished a page.
            const bool ok = waitFor([&] { return m_views.value(rest).loads > 0; });
            const View &view = m_views[rest];
            reply(ok ? QStringLiteral("loaded %1 %2 %3").arg(ms(view.lastLoad), view.lastOk ? "ok" : "failed",
                                                               view.lastUrl.toString())
                     : QStringLiteral("timeout"));
        } else if (word == QLatin1String("enter")) {
            enter(rest);
        } else if (word == QLatin1String("click")) {
            click(rest);
        } else if (word == QLatin1String("open")) {
            open(rest);
        } else if (word == QLatin1String("test")) {
            takeTest(rest);
        } else if (word == QLatin1String("idle")) {
            // idle MS: the program left alone for that long.
            waitFor([] { return false; }, rest.toInt());
            reply(QStringLiteral("idle"));
        } else if (word == QLatin1String("size")) {
            // size WINDOW: the size of the view in that window.
            const QWidget *view = m_views.value(rest).widget;
            reply(view ? QStringLiteral("size %1 %2").arg(view->width()).arg(view->height())
                       : QStringLiteral("error size"));
        } else if (word == QLatin1String("resize")) {
            // resize W H: a view that is a window of its own takes that size.
            QWidget *view = m_views.value(QString()).widget;
            if (view)
                view->resize(rest.section(QLatin1Char(' '), 0, 0).toInt(), rest.section(QLatin1Char(' '), 1, 1).toInt());
            reply(view ? QStringLiteral("resized") : QStringLiteral("error resize"));
        } else if (word == QLatin1String("started")) {
            reply(QStringLiteral("started %1").arg(ms(m_loadedAt)));
        } else if (word == QLatin1String("quit")) {
            reply(QStringLiteral("quit"));
            QCoreApplication::quit();
        } else {
            reply(QStringLiteral("unknown %1").arg(word));
        }
    }

    // Runs `action` and waits for the view in `window` to finish its next page;
    // replies with the time to that and the time `action` itself took.
    void timedLoad(const QString &window, const QString &what, const std::function<bool()> &action)
    {
        const int before = m_views.value(window).loads;
        const double started = now();
        if (!action()) {
            reply(QStringLiteral("error %1").arg(what));
            return;
        }
        const double handled = now();
        const bool ok = waitFor([&] { return m_views.value(window).loads > before; });
        const View &view = m_views[window];
        reply(ok ? QStringLiteral("loaded %1 %2 %3").arg(ms(view.lastLoad - started), ms(handled - started),
                                                           view.lastOk ? "ok" : "failed")
                 : QStringLiteral("timeout %1").arg(what));
    }

    // click TEXT: the learner chooses the topic of that text in the main window's tree.
    void click(const QString &text)
    {
        timedLoad(QStringLiteral("TForm1"), text, [&] {
            auto *tree = child<QTreeWidget>(QStringLiteral("TForm1"), QStringLiteral("TreeView1"));
            if (!tree)
                return false;
            const QList<QTreeWidgetItem *> items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
            if (items.isEmpty())
                return false;
            tree->setCurrentItem(items.first());
            return true;
        });
    }

    // open PATH: a view that is a window of its own shows that file.
    void open(const QString &path)
    {
        timedLoad(QString(), path, [&] {
            QWidget *view = m_views.value(QString()).widget;
            if (!view)
                return false;
            view->setProperty("url", QUrl::fromLocalFile(path));
            return true;
        });
    }

    // enter NAME<TAB>GROUP: the learner fills the start screen and proceeds.
    void enter(const QString &identity)
    {
        auto *name = child<QLineEdit>(QStringLiteral("TForm6"), QStringLiteral("Edit1"));
        auto *group = child<QLineEdit>(QStringLiteral("TForm6"), QStringLiteral("Edit2"));
        auto *proceed = child<QPushButton>(QStringLiteral("TForm6"), QStringLiteral("Panel1"));
        if (!name || !group || !proceed) {
            reply(QStringLiteral("error enter"));
            return;
        }
        name->setText(identity.section(QLatin1Char('\t'), 0, 0));
        group->setText(identity.section(QLatin1Char('\t'), 1));
        proceed->click();
        const bool ok = waitFor([] {
            QWidget *main = topLevel(QStringLiteral("TForm1"));
            return main && main->isVisible();
        });
        reply(ok ? QStringLiteral("entered %1").arg(ms(now())) : QStringLiteral("timeout enter"));
    }

    // test TEXT: the learner opens that lesson, starts its test, opens every
    // question, answers it, finishes and closes the result.
    void takeTest(const QString &text)
    {
        auto pressed = [](const QString &window, const QString &name) {
            auto *button = child<QPushButton>(window, name);
            if (button)
                button->click();
            return button != nullptr;
        };
        auto shown = [](const QString &window) {
            return [window] {
                QWidget *top = topLevel(window);
                return top && top->isVisible();
            };
        };
        auto *tree = child<QTreeWidget>(QStringLiteral("TForm1"), QStringLiteral("TreeView1"));
        const QList<QTreeWidgetItem *> items =
            tree ? tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive) : QList<QTreeWidgetItem *>();
        auto *command = topLevel(QStringLiteral("TForm1"))
            ? topLevel(QStringLiteral("TForm1"))->findChild<QAction *>(QStringLiteral("nn5"))
            : nullptr;
        if (items.isEmpty() || !command) {
            reply(QStringLiteral("error test"));
            return;
        }
        const double started = now();
        tree->setCurrentItem(items.first());
        command->trigger();
        if (!waitFor(shown(QStringLiteral("TForm13"))) || !pressed(QStringLiteral("TForm13"), QStringLiteral("BitBtn41"))) {
            reply(QStringLiteral("error test window"));
            return;
        }
        const QString window = QStringLiteral("TForm13");
        for (int number = 1; number <= 40; ++number) {
            // The test window's viewer may not exist before its first question.
            const int before = m_views.value(window).loads;
            if (!pressed(window, QStringLiteral("BitBtn%1").arg(number))
                || !waitFor([&] { return m_views.value(window).loads > before; })) {
                reply(QStringLiteral("error question %1").arg(number));
                return;
            }
            pressed(window, QStringLiteral("BitBtn%1").arg(43 + number % 5));
        }
        if (!pressed(window, QStringLiteral("BitBtn42")) || !waitFor(shown(QStringLiteral("TForm5")))
            || !pressed(QStringLiteral("TForm5"), QStringLiteral("Button1"))) {
            reply(QStringLiteral("error result"));
            return;
        }
        reply(QStringLiteral("tested %1").arg(ms(now() - started)));
    }

    const double m_start;
    double m_loadedAt = 0;
    QSocketNotifier *m_input;
    QByteArray m_pending;
    QHash<QString, double> m_firstPaint;
    QHash<QString, bool> m_paintPending;
    QHash<QString, View> m_views;
    QHash<QObject *, bool> m_adopted;
    QList<QPointer<QObject>> m_newChildren;
    bool m_adoptPending = false;
    std::function<void()> m_check;
};

} // namespace

class BenchProbePlugin final : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")

public:
    QObject *create(const QString &key, const QString &) override
    {
        return key.compare(QLatin1String("korveltaprobe"), Qt::CaseInsensitive) == 0 ? new Probe : nullptr;
    }
};

#include "BenchProbe.moc"
