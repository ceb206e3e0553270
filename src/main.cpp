// The laboratory: the application object, the main window, the main event loop.

#include "TApplication.h"
#include "TForm1.h"

int main(int argc, char **argv)
{
    TApplication application(argc, argv);
    auto *form1 = new TForm1;
    form1->show();
    const int result = application.exec();
    delete form1;
    return result;
}
