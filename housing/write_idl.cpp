// jv_write_idl: writes Jornavista.idl from the type library table, to the file
// named by its argument or to standard output.
#include <fstream>
#include <iostream>

#include "housing/jornavista_typelib.h"
#include "platform/component/idl_writer.h"

int main(int argc, char** argv) {
  const std::string idl = jv::component::WriteIdl(jv::housing::kTypeLibrary);
  if (argc < 2) {
    std::cout << idl;
    return 0;
  }
  const std::string temp = std::string(argv[1]) + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!(out << idl) || !out.flush()) {
      std::cerr << "jv_write_idl: cannot write " << temp << "\n";
      return 1;
    }
  }
  if (std::rename(temp.c_str(), argv[1]) != 0) {
    std::cerr << "jv_write_idl: cannot replace " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
