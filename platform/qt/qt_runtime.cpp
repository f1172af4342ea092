#include "platform/qt/qt_runtime.h"

#include <QApplication>
#include <QThread>

#include "platform/qt/qt_face.h"

namespace jv::qt {

namespace {

// "The application called an interface that was marshalled for a different
// thread": widgets live on the QApplication's thread only.
constexpr HRESULT kWrongThread = static_cast<HRESULT>(0x8001010Eu);

}  // namespace

DATE SettableClock::Today() const { return today_ ? *today_ : dates::SystemToday(); }

QtRuntime::QtRuntime(dates::RegionalSettings settings)
    : settings_(std::move(settings)), dates_(clock_, settings_) {}

QtRuntime::~QtRuntime() = default;

HRESULT QtRuntime::CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                              std::unique_ptr<platform::Face>* out) {
  if (out == nullptr) return E_POINTER;
  // Widgets without a QApplication end the process; refuse instead.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return E_UNEXPECTED;
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) return kWrongThread;
  std::unique_ptr<QtFace> face;
  if (const HRESULT hr = QtFace::Build(*this, container, layout, &face); FAILED(hr)) return hr;
  *out = std::move(face);
  return S_OK;
}

}  // namespace jv::qt
