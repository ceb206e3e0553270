// The laboratory: the application object, the main window, the main event loop.

#include "TApplication.h"
#include "TForm1.h"

int main(int argc, char **argv)
{
    TApplication application(argc, argv);
    TForm1 form1;
    form1.show();
    return application.exec();
}
