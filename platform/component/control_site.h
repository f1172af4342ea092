// The seam through which a container supplies a control with its own runtime (a
// window) and its ambient properties. A container that hands over no site gets an
// instance on the library's headless runtime, today from the system clock.
#pragma once

#include "platform/automation/font.h"
#include "platform/automation/interface_ids.h"
#include "platform/automation/ocidl.h"
#include "platform/runtime/face.h"

// Handed to the class object at creation, since the constituent controls are built
// then: the instance keeps a reference to the site for its whole life, and the site
// keeps its runtime alive for as long as it lives. Both sides must be built by the
// same compiler and standard library, as ControlRuntime is a C++ interface.
struct IControlSite : IUnknown {
  // The runtime that builds the instance's face. E_NOTIMPL, or S_OK with null:
  // the library builds the instance on its own headless runtime.
  virtual HRESULT JV_STDMETHODCALLTYPE GetControlRuntime(jv::platform::ControlRuntime** runtime) = 0;
  // The container's current ambient font, a new reference (null: none).
  virtual HRESULT JV_STDMETHODCALLTYPE GetAmbientFont(IFont** font) = 0;

 protected:
  ~IControlSite() = default;
};

// The class object's second interface, for containers that have a site to offer.
struct IClassFactorySite : IClassFactory {
  virtual HRESULT JV_STDMETHODCALLTYPE CreateInstanceOnSite(IControlSite* site, REFIID riid,
                                                            void** object) = 0;

 protected:
  ~IClassFactorySite() = default;
};

// A container's property bag that also takes the default each write is made
// against, so that it can leave out a value equal to its default as a bag the
// control wrote to directly would. A library writes through it when the
// container's IPropertyBag answers it, else through plain IPropertyBag::Write.
struct IPropertyBagDefaults : IUnknown {
  virtual HRESULT JV_STDMETHODCALLTYPE WriteWithDefault(LPCOLESTR name, VARIANT* value,
                                                        VARIANT* default_value) = 0;

 protected:
  ~IPropertyBagDefaults() = default;
};

inline constexpr IID IID_IControlSite = {
    0x824627D7, 0x1F3D, 0x4307, {0xBE, 0x19, 0x7E, 0x18, 0x9F, 0x77, 0xB5, 0x4A}};
inline constexpr IID IID_IClassFactorySite = {
    0xC5FF8FB8, 0xCAC4, 0x4743, {0xA8, 0x9B, 0xE0, 0x63, 0xAE, 0x15, 0x64, 0xE7}};
inline constexpr IID IID_IPropertyBagDefaults = {
    0x9A4E61C7, 0x2B58, 0x4F03, {0x8D, 0x1C, 0xE6, 0x75, 0x3A, 0x0B, 0x94, 0x2F}};

JV_INTERFACE_IDS(IControlSite, JV_IID(IControlSite));
JV_INTERFACE_IDS(IClassFactorySite, JV_IID(IClassFactory), JV_IID(IClassFactorySite));
JV_INTERFACE_IDS(IPropertyBagDefaults, JV_IID(IPropertyBagDefaults));
