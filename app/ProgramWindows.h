#pragma once

#include "CourseSession.h"

#include <memory>

class TDataModule2;
class TForm1;
class TForm13;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;

// Every window of a run and the data module, created once in the program's
// order (start screen, main window, test window, editor, data module, picture
// window, result window, password window, report host) and kept until this
// goes; each global instance points at its own while it lives. The program
// and the tests that need the whole set make it here.
class ProgramWindows final
{
    Q_DISABLE_COPY_MOVE(ProgramWindows)

public:
    // Throws AppError only when the data module cannot be created at all; the
    // windows made before it are then taken down again.
    ProgramWindows();
    ~ProgramWindows();

    CourseSession &session() { return m_session; }

private:
    void clearGlobals();

    CourseSession m_session;
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm13> m_form13;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TDataModule2> m_dataModule2;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TForm7> m_form7;
    std::unique_ptr<TForm8> m_form8;
};
