#include "Unit4.h"
#include "ui_Unit4.h"

#include "CourseFileReference.h"
#include "ExportDialog.h"
#include "Messages.h"
#include "JournalExport.h"
#include "JournalPruning.h"
#include "JournalSummaryView.h"
#include "QuestionImportCommand.h"
#include "TableCursor.h"
#include "TestKeyCheck.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit8.h"
#include "WindowPlacement.h"

#include <QDate>
#include <QScreen>

TForm4 *Form4 = nullptr;

namespace {

struct FileRow
{
    const char *column;
    const char *filter;
    bool picture;
};

// The seven file rows of the editor, top to bottom.
const FileRow FileRows[] = {
    {"htm", "HTML документы|*.htm;*.mht;*.html|Все файлы|*.*", false},
    {"jpg", "Рисунки|*.jpg;*.bmp;*.wmf;*.ico|Все файлы|*.*", true},
    {"avi", "Видио|*.avi;*.mp4|Все файлы|*.*", false},
    {"test", "Test|*.htm;*.txt|Все файлы|*.*", false},
    {"mid", "Музыка|*.mid;*.kar;*.wav;*.mp3|Все файлы|*.*", false},
    {"wav", "Музыка|*.mid;*.kar;*.wav;*.mp3|Все файлы|*.*", false},
    {"exe", "Программы|*.exe|Все файлы|*.*", false},
};

// The row of the test, whose answer key is checked when it is attached.
constexpr int TestRow = 3;

const QString TitleColumn = QStringLiteral("urok");

// The page control as designed, at 120 pixels per inch.
const QSize DesignSize(956, 740);

const QVector<GridColumn> &lessonGridColumns()
{
    static const QVector<GridColumn> columns = {
        {TitleColumn, QStringLiteral("Тема урока"), 393, false},
        {QStringLiteral("htm"), QStringLiteral("htm"), 51, false},
        {QStringLiteral("jpg"), QStringLiteral("jpg"), 48, false},
        {QStringLiteral("wav"), QStringLiteral("wav"), 50, false},
        {QStringLiteral("mid"), QStringLiteral("mid"), 54, false},
        {QStringLiteral("avi"), QStringLiteral("avi"), 47, false},
        {QStringLiteral("test"), QStringLiteral("test"), 46, false},
        {QStringLiteral("exe"), QStringLiteral("exe"), 48, false},
    };
    return columns;
}

} // namespace

TForm4::TForm4(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
    , ui(std::make_unique<Ui::TForm4>())
{
    ui->setupUi(this);
    ui->formLayout->setSizeConstraint(QLayout::SetFixedSize);
    ui->PageControl1->setCurrentWidget(ui->TabSheet2);

    const std::pair<QPushButton *, void (TForm4::*)()> handlers[] = {
        {ui->Button13, &TForm4::Button13Click}, {ui->Button14, &TForm4::Button14Click},
        {ui->Button15, &TForm4::Button15Click}, {ui->Button16, &TForm4::Button16Click},
        {ui->Button17, &TForm4::Button17Click}, {ui->Button18, &TForm4::Button18Click},
        {ui->Button19, &TForm4::Button19Click}, {ui->BitBtn1, &TForm4::BitBtn1Click},
        {ui->BitBtn2, &TForm4::BitBtn2Click},   {ui->BitBtn3, &TForm4::BitBtn3Click},
        {ui->BitBtn4, &TForm4::BitBtn4Click},   {ui->BitBtn5, &TForm4::BitBtn5Click},
        {ui->BitBtn6, &TForm4::BitBtn6Click},   {ui->BitBtn7, &TForm4::BitBtn7Click},
        {ui->Button10, &TForm4::Button10Click}, {ui->Button11, &TForm4::Button11Click},
        {ui->Button1, &TForm4::Button1Click},   {ui->Button12, &TForm4::Button12Click},
        {ui->Button20, &TForm4::Button20Click}, {ui->Button21, &TForm4::Button21Click},
        {ui->Button2, &TForm4::Button2Click},
    };
    for (const auto &[button, handler] : handlers)
        connect(button, &QPushButton::clicked, this, handler);
    connect(ui->ImportQuestionsButton, &QPushButton::clicked, this, &TForm4::ImportQuestionsButtonClick);
    // Either box composes the journal's filter; the check box switches it.
    connect(ui->Edit1, &QLineEdit::textChanged, this, &TForm4::Edit1Change);
    connect(ui->Edit2, &QLineEdit::textChanged, this, &TForm4::Edit1Change);
    connect(ui->CheckBox1, &QCheckBox::clicked, this, &TForm4::CheckBox1Click);

    // Without this the window would open at the desktop's corner, over the
    // main window's topic tree, and at design size run off a small screen.
    if (const QScreen *desktop = screen())
        layOutFor(desktop->availableGeometry(), logicalDpiY());

    m_export = std::make_unique<ExportDialog>(this);
    connect(ui->JournalExportButton, &QPushButton::clicked, this, &TForm4::JournalExportClick);

    // The summaries are worked out only while their tab is shown.
    m_summary = new JournalSummaryView(ui->SummaryLines, ui->SummaryNote, ui->SummaryLearners, this);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this,
            [this] { m_summary->setShown(ui->PageControl1->currentWidget() == ui->SummaryTab); });
    connect(ui->SummaryExportButton, &QPushButton::clicked, this, &TForm4::SummaryExportClick);
}

TForm4::~TForm4() = default;

void TForm4::layOutFor(const QRect &desktop, double logicalDpi)
{
    m_scale = WindowPlacement::layoutScale(logicalDpi);
    ui->PageControl1->setFixedSize(WindowPlacement::scaled(DesignSize, m_scale));
    ui->formLayout->activate();
    applyColumnWidths();
    move(WindowPlacement::centred(size(), desktop));
}

void TForm4::applyColumnWidths()
{
    const std::pair<DBGrid *, const QVector<GridColumn> *> grids[] = {
        {ui->DBGrid5, &lessonGridColumns()},
        {ui->DBGrid4, &JournalExport::columns()},
    };
    for (const auto &[grid, columns] : grids) {
        for (int i = 0; i < columns->size(); ++i)
            grid->fitColumnWidth(i, WindowPlacement::scaled(columns->at(i).width, m_scale));
    }
}

void TForm4::attachDataModule(TDataModule2 &module)
{
    TableCursor *lessons = module.Turok;
    DBEdit *const boxes[] = {ui->DBEdit1, ui->DBEdit2, ui->DBEdit3, ui->DBEdit4,
                             ui->DBEdit5, ui->DBEdit6, ui->DBEdit7};
    for (int row = 0; row < 7; ++row)
        boxes[row]->bind(lessons, QString::fromLatin1(FileRows[row].column));
    ui->DBNavigator1->bind(lessons);
    ui->DBGrid5->bind(lessons, lessonGridColumns());
    for (auto signal : {&TableCursor::currentChanged, &TableCursor::rowsReset, &TableCursor::stateChanged})
        connect(lessons, signal, this, &TForm4::updateLessonTitle);
    connect(lessons, &TableCursor::rowValuesChanged, this, &TForm4::updateLessonTitle);
    updateLessonTitle();

    TableCursor *journal = module.Tjurnal;
    ui->DBNavigator2->bind(journal, DBNavigator::First | DBNavigator::Prior | DBNavigator::Next
                                        | DBNavigator::Last | DBNavigator::Delete | DBNavigator::Post
                                        | DBNavigator::Cancel | DBNavigator::Refresh);
    ui->DBGrid4->bind(journal, JournalExport::columns());
    ui->DBGrid4->setRowEditingKeys(true);
    applyColumnWidths();
    m_summary->bind(journal);
}

void TForm4::updateLessonTitle()
{
    QString title;
    if (DataModule2 && DataModule2->Turok->isActive())
        title = DataModule2->Turok->value(TitleColumn).toString();
    ui->DBText1->setText(title);
}

void TForm4::pickFile(int row)
{
    Messages::guarded([&] {
        const FileRow &file = FileRows[row];
        const QString appDir = Form1->AppDir;
        const QString chosen = Messages::chooseFile(QString::fromUtf8(file.filter), appDir, file.picture);
        if (chosen.isEmpty())
            return;
        const auto reference = CourseFileReference::inside(appDir, chosen);
        if (!reference) {
            Messages::showInfo(CourseFileReference::outsideMessage(appDir, chosen));
            return;
        }
        TableCursor *lessons = DataModule2->Turok;
        lessons->edit();
        lessons->setValue(QString::fromLatin1(file.column), *reference);
        lessons->post();
        if (row == TestRow) {
            if (const auto warning = TestKeyCheck::warning(chosen))
                Messages::showInfo(*warning);
        }
    });
}

void TForm4::clearFile(int row)
{
    Messages::guarded([&] {
        TableCursor *lessons = DataModule2->Turok;
        lessons->edit();
        lessons->setValue(QString::fromLatin1(FileRows[row].column), QString(QLatin1String("")));
        lessons->post();
    });
}

void TForm4::Button13Click() { pickFile(0); }
void TForm4::Button14Click() { pickFile(1); }
void TForm4::Button15Click() { pickFile(2); }
void TForm4::Button16Click() { pickFile(3); }
void TForm4::Button17Click() { pickFile(4); }
void TForm4::Button18Click() { pickFile(5); }
void TForm4::Button19Click() { pickFile(6); }
void TForm4::BitBtn1Click() { clearFile(0); }
void TForm4::BitBtn2Click() { clearFile(1); }
void TForm4::BitBtn3Click() { clearFile(2); }
void TForm4::BitBtn4Click() { clearFile(3); }
void TForm4::BitBtn5Click() { clearFile(4); }
void TForm4::BitBtn6Click() { clearFile(5); }
void TForm4::BitBtn7Click() { clearFile(6); }

void TForm4::addTopic(bool asChild)
{
    Messages::guarded([&] { Form1->addTopic(ui->Edit3->text(), asChild); });
}

void TForm4::Button10Click() { addTopic(false); }
void TForm4::Button11Click() { addTopic(true); }

void TForm4::Button1Click()
{
    Messages::guarded([] { Form1->removeSelectedTopic(); });
}

void TForm4::Button12Click()
{
    Messages::guarded([] {
        TableCursor *lessons = DataModule2->Turok;
        if (lessons->isEditing())
            lessons->post();
    });
}

void TForm4::Edit1Change()
{
    Messages::guarded([this] {
        JournalFilter = JournalFilterText::fromBoxes(ui->Edit1->text(), ui->Edit2->text());
        JournalFilter.applyTo(*DataModule2->Tjurnal);
    });
}

void TForm4::CheckBox1Click()
{
    Messages::guarded([this] { DataModule2->Tjurnal->setFiltered(ui->CheckBox1->isChecked()); });
    Edit1Change();
}

void TForm4::Button20Click()
{
    Messages::guarded([this] {
        TableCursor *journal = DataModule2->Tjurnal;
        JournalPruning::deleteRowsWithoutMarks(*journal, journal->filter(), ui->CheckBox1->isChecked());
    });
}

void TForm4::Button21Click()
{
    Messages::guarded([] { JournalPruning::deleteAllInView(*DataModule2->Tjurnal); });
}

void TForm4::Button2Click()
{
    Messages::guarded([] {
        if (Form8)
            Form8->Preview();
    });
}

void TForm4::ImportQuestionsButtonClick()
{
    Messages::guarded([this] { QuestionImportCommand::run(this, Form1->AppDir, *DataModule2->Turok); });
}

void TForm4::JournalExportClick()
{
    Messages::guarded([this] {
        TableCursor *journal = DataModule2->Tjurnal;
        m_export->run(QStringLiteral("Экспорт журнала"),
                      QStringLiteral("Журнал %1").arg(QDate::currentDate().toString(Qt::ISODate)),
                      [journal](const QString &path) { JournalExport::write(*journal, path); });
    });
}

void TForm4::SummaryExportClick()
{
    Messages::guarded([this] {
        TableCursor *journal = DataModule2->Tjurnal;
        m_export->run(QStringLiteral("Экспорт итогов"),
                      QStringLiteral("Итоги %1").arg(QDate::currentDate().toString(Qt::ISODate)),
                      [this, journal](const QString &path) {
                          // The file shows what the database holds, as the tab then does.
                          JournalExport::finishPendingEdit(*journal);
                          m_summary->refresh();
                          m_summary->summary().write(path);
                      });
    });
}
