// The names type libraries give their type, member, implementation and parameter
// flags: the JSON dump lists them and the IDL writer writes them as attributes.
#pragma once

#include <cstdint>

#include "platform/automation/typeinfo.h"

namespace jv::component {

struct FlagName {
  std::uint32_t bit;
  const char* name;
};

inline constexpr FlagName kTypeFlags[] = {
    {TYPEFLAG_FAPPOBJECT, "appobject"},
    {TYPEFLAG_FCANCREATE, "cancreate"},
    {TYPEFLAG_FLICENSED, "licensed"},
    {TYPEFLAG_FPREDECLID, "predeclid"},
    {TYPEFLAG_FHIDDEN, "hidden"},
    {TYPEFLAG_FCONTROL, "control"},
    {TYPEFLAG_FDUAL, "dual"},
    {TYPEFLAG_FNONEXTENSIBLE, "nonextensible"},
    {TYPEFLAG_FOLEAUTOMATION, "oleautomation"},
    {TYPEFLAG_FRESTRICTED, "restricted"},
    {TYPEFLAG_FAGGREGATABLE, "aggregatable"},
    {TYPEFLAG_FREPLACEABLE, "replaceable"},
    {TYPEFLAG_FDISPATCHABLE, "dispatchable"},
};
inline constexpr FlagName kFuncFlags[] = {
    {FUNCFLAG_FRESTRICTED, "restricted"},   {FUNCFLAG_FSOURCE, "source"},
    {FUNCFLAG_FBINDABLE, "bindable"},       {FUNCFLAG_FREQUESTEDIT, "requestedit"},
    {FUNCFLAG_FDISPLAYBIND, "displaybind"}, {FUNCFLAG_FDEFAULTBIND, "defaultbind"},
    {FUNCFLAG_FHIDDEN, "hidden"},
};
inline constexpr FlagName kImplFlags[] = {{IMPLTYPEFLAG_FDEFAULT, "default"},
                                          {IMPLTYPEFLAG_FSOURCE, "source"},
                                          {IMPLTYPEFLAG_FRESTRICTED, "restricted"}};
inline constexpr FlagName kParamFlags[] = {{PARAMFLAG_FIN, "in"},
                                           {PARAMFLAG_FOUT, "out"},
                                           {PARAMFLAG_FRETVAL, "retval"},
                                           {PARAMFLAG_FOPT, "optional"}};

}  // namespace jv::component
