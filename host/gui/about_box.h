// The About box: the program's name, build stamp and version, and one line per loaded plug-in.
#pragma once

#include <QDialog>
#include <string>

namespace gui {

class AboutBox : public QDialog {
  public:
    // `pluginVersionText` as the plug-in scan left it ("name v.a.b.c.d\r\n" per plug-in).
    AboutBox(const std::string& pluginVersionText, QWidget* parent);
};

}  // namespace gui
