#pragma once

#include "JournalFilterText.h"

#include <QWidget>

#include <memory>

namespace Ui { class TForm4; }

class ExportDialog;
class JournalSummaryView;
class TDataModule2;

// The lesson editor and the journal: a top-most window over the main window,
// whose tree keeps working while it is open. Every command acts on the shared
// current row of the lesson table.
class TForm4 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm4)

public:
    explicit TForm4(QWidget *parent = nullptr);
    ~TForm4() override;

    // Binds the title, the file boxes, the navigator and the grid to the lesson
    // table; the data module is created after this window.
    void attachDataModule(TDataModule2 &module);

    // Lays the window out for a desktop of this resolution: the sizes designed
    // for 120 pixels per inch (the page control, the grids' columns) scaled to
    // it, and the window centred on it.
    void layOutFor(const QRect &desktop, double logicalDpi);

    // The journal's filter as last composed from the name and group boxes.
    JournalFilterText JournalFilter;

public slots:
    void Button13Click();
    void Button14Click();
    void Button15Click();
    void Button16Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();
    void Button10Click();
    void Button11Click();
    void Button1Click();
    void Button12Click();
    // The journal tab.
    void Edit1Change();
    void CheckBox1Click();
    void Button20Click();
    void Button21Click();
    void Button2Click();
    // "Импорт вопросов…" beside "Выбрать тест".
    void ImportQuestionsButtonClick();
    // "Экспорт…": the journal rows in view to a CSV, Excel or PDF file.
    void JournalExportClick();
    // The "Итоги" tab's "Экспорт…": the summaries of the rows in view to a file.
    void SummaryExportClick();

private:
    // `row` is 0 … 6, the file rows from top to bottom.
    void pickFile(int row);
    void clearFile(int row);
    void addTopic(bool asChild);
    void updateLessonTitle();
    void applyColumnWidths();

    std::unique_ptr<Ui::TForm4> ui;
    double m_scale = 1.0;

    std::unique_ptr<ExportDialog> m_export;
    JournalSummaryView *m_summary;
};

extern TForm4 *Form4;
