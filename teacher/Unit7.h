#pragma once

#include <QDialog>

#include <memory>

namespace Ui { class TForm7; }

// The editing password window: the right password reveals the main window's
// "Редактирование" item, and whoever knows it may store a new one.
class TForm7 final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm7)

public:
    explicit TForm7(QWidget *parent = nullptr);
    ~TForm7() override;

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();

private:
    // Whether Edit1 holds the password stored in the first row of pas.
    bool typedPasswordMatches() const;

    std::unique_ptr<Ui::TForm7> ui;
};

extern TForm7 *Form7;
