#include "apps/jornavista-host/window.h"

#include <QApplication>
#include <QBuffer>
#include <QLabel>
#include <QPixmap>
#include <QStyle>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

#include "apps/document/document_file.h"
#include "apps/jornavista-host/member_calls.h"
#include "apps/jornavista-host/qt_driver.h"
#include "apps/jornavista-host/script.h"
#include "apps/jornavista-host/script_values.h"
#include "platform/qt/design_values.h"

namespace jv::host {

namespace {

struct WindowOptions {
  std::optional<DATE> today;
  std::string script;
  std::string output;
  double scale = 1.0;
};

// Parses `--today`, and for render `--script`, `--scale` and the output file;
// returns an error message.
std::optional<std::string> ParseOptions(int argc, char** argv, bool render, WindowOptions* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--today" || (render && (arg == "--script" || arg == "--scale"))) {
      if (!has_value) return std::string(arg) + " needs a value";
      const std::string_view value = argv[++i];
      if (arg == "--today") {
        o->today = ParseIsoDate(value);
        if (!o->today) return "not a date from 0100-01-01 to 9999-12-31: " + std::string(value);
      } else if (arg == "--script") {
        o->script = value;
      } else {
        char* end = nullptr;
        const std::string text(value);
        o->scale = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || *end != '\0' || !(o->scale >= 0.5 && o->scale <= 4.0))
          return "--scale is a number from 0.5 to 4: " + text;
      }
    } else if (render && o->output.empty() && !arg.starts_with("--")) {
      o->output = arg;
    } else {
      return "unexpected argument: " + std::string(arg);
    }
  }
  if (render && o->output.empty()) return "render needs the name of the PNG file to write";
  return std::nullopt;
}

// Fusion with its own palette, and the face's default font on the form: the
// window looks the same whatever desktop theme the machine has.
void SetUpLook() {
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setPalette(QApplication::style()->standardPalette());
  QApplication::setFont(qt::DefaultFont());
}

bool HasDisplay() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty()) return !platform.startsWith("offscreen") && !platform.startsWith("minimal");
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Qt ends the process when no platform plugin starts (a display that cannot be
// reached): say what to do instead before it does.
void ExplainFatalStart(QtMsgType type, const QMessageLogContext&, const QString& message) {
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  if (type == QtFatalMsg) {
    std::fprintf(stderr,
                 "jornavista-host show: cannot open a window on this display; "
                 "'jornavista-host render FILE.png' writes a screenshot without one\n");
    std::_Exit(2);
  }
}

// The current instance's SDate, read as any automation client reads it.
QString SelectedDate(FormDriver& form) {
  Variant value;
  if (FAILED(GetProperty(form, jornavista::DISPID_SDate, &value)) || value.vt() != VT_BSTR) return {};
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(value.raw().bstrVal),
                            static_cast<qsizetype>(SysStringLen(value.raw().bstrVal)));
}

// The library, opened for a window subcommand; the message on failure.
std::shared_ptr<FormLibrary> OpenLibrary(const char* command, const std::string& library, std::ostream& err) {
  std::shared_ptr<FormLibrary> opened;
  if (auto error = FormLibrary::Open(library, &opened)) err << command << ": " << *error << "\n";
  return opened;
}

// The options of `command` (show or render); false, with the message and the usage
// on `err`, for bad ones.
bool OptionsOf(std::string_view command, int argc, char** argv, WindowOptions* options, std::ostream& err) {
  const auto error = ParseOptions(argc, argv, command == "render", options);
  if (!error) return true;
  err << command << ": " << *error << "\n";
  PrintWindowUsage(err);
  return false;
}

}  // namespace

void PrintWindowUsage(std::ostream& out) {
  out << "       jornavista-host show [--library FILE|PROGID] [--today YYYY-MM-DD]\n"
         "       jornavista-host render FILE.png [--library FILE|PROGID] [--today YYYY-MM-DD]\n"
         "                       [--script SCRIPT] [--scale N]\n"
         "show opens a form with the control in a window. render runs SCRIPT against the control\n"
         "in a window offscreen and writes a screenshot of the form to FILE.png, N device pixels\n"
         "to the logical pixel (0.5 to 4); the file is written only when the script succeeds, as\n"
         "save writes: a link is followed, and only a writable regular file is replaced.\n";
}

int RunShow(char* program, int argc, char** argv, const std::string& library, std::ostream& out,
            std::ostream& err) {
  WindowOptions options;
  if (!OptionsOf("show", argc, argv, &options, err)) return 2;
  if (!HasDisplay()) {
    err << "show: no display (DISPLAY and WAYLAND_DISPLAY are not set). Run it under a desktop or\n"
           "xvfb-run, or write a screenshot instead: jornavista-host render FILE.png\n";
    return 2;
  }
  qInstallMessageHandler(ExplainFatalStart);
  int qt_argc = 1;
  char* qt_argv[] = {program, nullptr};
  QApplication app(qt_argc, qt_argv);
  qInstallMessageHandler(nullptr);
  SetUpLook();

  std::shared_ptr<FormLibrary> opened = OpenLibrary("show", library, err);
  if (!opened) return 1;
  QtDriver form(std::move(opened));
  if (options.today) form.SetToday(*options.today);
  auto* selected = new QLabel();
  form.SetFooter(selected);
  const auto show_selected = [&form, selected] {
    selected->setText(QStringLiteral("SDate: %1").arg(SelectedDate(form)));
    selected->adjustSize();
  };
  form.SetChangeListener([show_selected](const std::string& name) {
    if (name == "SDate") show_selected();
  });
  if (const HRESULT hr = form.AddControl(); FAILED(hr)) {
    err << "show: the control did not start: " << StatusText(hr) << "\n";
    return 1;
  }
  show_selected();
  form.SetFooter(selected);  // placed again at its new size
  out << "jornavista-host: the calendar is open; close its window to end\n" << std::flush;
  return QApplication::exec();
}

int RunRender(char* program, int argc, char** argv, const std::string& library, std::ostream& out,
              std::ostream& err) {
  WindowOptions options;
  if (!OptionsOf("render", argc, argv, &options, err)) return 2;
  // The whole script is read before anything is drawn: a script that cannot be
  // read writes no file.
  std::string script;
  if (!options.script.empty()) {
    if (auto error = ReadScriptFile(options.script, &script)) {
      err << options.script << ": " << *error << "\n";
      return 2;
    }
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", QByteArray::number(options.scale));
  int qt_argc = 1;
  char* qt_argv[] = {program, nullptr};
  QApplication app(qt_argc, qt_argv);
  SetUpLook();

  std::shared_ptr<FormLibrary> opened = OpenLibrary("render", library, err);
  if (!opened) return 1;
  QtDriver form(std::move(opened));
  if (options.today) form.SetToday(*options.today);
  // A script may start with its own today and create; without one, this
  // instance is the form's.
  if (const HRESULT hr = form.AddControl(); FAILED(hr)) {
    err << "render: the control did not start: " << StatusText(hr) << "\n";
    return 1;
  }
  if (!options.script.empty()) {
    std::istringstream lines(script);
    if (const int status = RunScript(lines, form, out, err); status != 0) return status;
  }
  QCoreApplication::processEvents();
  const QPixmap shot = form.form().grab();
  QByteArray png;
  QBuffer encoded(&png);
  if (!encoded.open(QIODevice::WriteOnly) || !shot.save(&encoded, "PNG")) {
    err << "render: " << options.output << ": not written: the screenshot cannot be encoded as PNG\n";
    return 1;
  }
  // As the host saves its documents: a symbolic link is followed, only a regular
  // file is replaced (a read-only one not at all), through a temporary file of a
  // unique name beside it, so a failed write leaves any earlier file whole.
  static constexpr document::SaveWording kImage{"image", "make it writable first"};
  if (auto error = document::SaveText(options.output, std::string_view(png.constData(), png.size()), nullptr,
                                      document::ReadOnly::kRefuse, kImage)) {
    err << "render: " << *error << "\n";
    return 1;
  }
  err << "wrote " << options.output << " (" << shot.width() << "x" << shot.height() << " pixels)\n";
  return 0;
}

}  // namespace jv::host
