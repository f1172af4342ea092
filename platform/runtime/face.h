// One instance's face: its constituent controls and surface, the runtime's date
// functions, and the runtime's entry for the control's event handlers. Built by a
// ControlRuntime from a FaceLayout; owned by the control for its whole life.
#pragma once

#include <memory>

#include "platform/runtime/controls.h"
#include "platform/runtime/date_functions.h"
#include "platform/runtime/events.h"
#include "platform/runtime/layout.h"

namespace jv::platform {

class Face {
 public:
  virtual ~Face() = default;

  virtual LabelArray& l() = 0;
  virtual TextBox& txtYear() = 0;
  virtual TextBox& txtDate() = 0;
  virtual PictureBox& Picture1() = 0;
  virtual Frame& Frame1() = 0;
  virtual Surface& UserControl() = 0;
  virtual DateFunctions& Dates() = 0;

  // Where the runtime delivers events from now on (null: nowhere).
  virtual void ConnectEvents(ControlEvents* handlers) = 0;
};

// The container side of one instance: change notices and the ambient font.
class Container {
 public:
  [[nodiscard]] virtual HRESULT OnPropertyChanged(TextView name) = 0;
  [[nodiscard]] virtual HRESULT GetAmbientFont(IFont** out) = 0;

 protected:
  ~Container() = default;
};

class ControlRuntime {
 public:
  // Builds the constituent controls of one instance with their design values.
  [[nodiscard]] virtual HRESULT CreateFace(const FaceLayout& layout, Container& container,
                                           std::unique_ptr<Face>* out) = 0;

 protected:
  ~ControlRuntime() = default;
};

}  // namespace jv::platform
