#include "ProgramWindows.h"

#include "Unit1.h"
#include "Unit13.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit7.h"
#include "Unit8.h"

ProgramWindows::ProgramWindows()
{
    try {
        m_form6 = std::make_unique<TForm6>(m_session);
        Form6 = m_form6.get();
        m_form1 = std::make_unique<TForm1>(m_session);
        Form1 = m_form1.get();
        m_form13 = std::make_unique<TForm13>();
        Form13 = m_form13.get();
        m_form4 = std::make_unique<TForm4>();
        Form4 = m_form4.get();
        m_dataModule2 = std::make_unique<TDataModule2>();
        DataModule2 = m_dataModule2.get();
        m_form3 = std::make_unique<TForm3>();
        Form3 = m_form3.get();
        m_form5 = std::make_unique<TForm5>(m_session);
        Form5 = m_form5.get();
        m_form7 = std::make_unique<TForm7>();
        Form7 = m_form7.get();
        m_form8 = std::make_unique<TForm8>();
        Form8 = m_form8.get();
    } catch (...) {
        clearGlobals();
        throw;
    }
    m_form1->attachDataModule(*m_dataModule2);
    m_form4->attachDataModule(*m_dataModule2);
}

ProgramWindows::~ProgramWindows()
{
    clearGlobals();
}

void ProgramWindows::clearGlobals()
{
    Form8 = nullptr;
    Form7 = nullptr;
    Form5 = nullptr;
    Form3 = nullptr;
    DataModule2 = nullptr;
    Form4 = nullptr;
    Form13 = nullptr;
    Form1 = nullptr;
    Form6 = nullptr;
}
