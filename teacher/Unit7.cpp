#include "Unit7.h"
#include "ui_Unit7.h"

#include "Messages.h"
#include "PasswordCheck.h"
#include "TableCursor.h"
#include "Unit1.h"
#include "Unit2.h"

TForm7 *Form7 = nullptr;

namespace {
const QString WrongPassword = QStringLiteral("Пароль неверный");
const QString PasswordsDiffer = QStringLiteral("Пароли не совпадают");
const QString PasswordChanged = QStringLiteral("Пароль успешно изменен");
const QString PasswordColumn = QStringLiteral("pas");
} // namespace

TForm7::TForm7(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TForm7>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
}

TForm7::~TForm7() = default;

bool TForm7::typedPasswordMatches() const
{
    return PasswordCheck::matches(DataModule2->Tpas->value(PasswordColumn), ui->Edit1->text());
}

void TForm7::Button1Click()
{
    Messages::guarded([this] {
        const bool matches = typedPasswordMatches();
        Form1->setEditingVisible(matches);
        if (!matches)
            Messages::showInfo(WrongPassword);
        close();
    });
}

void TForm7::Button2Click()
{
    Messages::guarded([this] {
        if (typedPasswordMatches())
            ui->Panel2->show();
        else
            Messages::showInfo(WrongPassword);
    });
}

void TForm7::Button3Click()
{
    Messages::guarded([this] {
        if (ui->Edit2->text() != ui->Edit3->text()) {
            Messages::showInfo(PasswordsDiffer);
        } else {
            TableCursor *passwords = DataModule2->Tpas;
            passwords->edit();
            passwords->setValue(PasswordColumn, PasswordCheck::hash(ui->Edit2->text()));
            // A failed post stops here: the panel and the window stay, the row stays in edit.
            passwords->post();
            Messages::showInfo(PasswordChanged);
        }
        ui->Panel2->hide();
        close();
    });
}
