// The floor the page viewer is measured against: Qt WebEngine alone, one view
// showing one local page, as a minimal program would show it. No code of the
// course program is linked in.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWebEngineView view;
    view.resize(800, 600);
    view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    return app.exec();
}
