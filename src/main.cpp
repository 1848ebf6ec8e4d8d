#include "app/defaultfont.h"
#include "app/mainform.h"

#include <QApplication>

#include <curl/curl.h>

int main(int argc, char* argv[])
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    int status = 0;
    {
        QApplication app(argc, argv);
        InstallDefaultFont();
        TMainForm form;
        form.show();
        status = app.exec();
    }
    curl_global_cleanup();
    return status;
}
