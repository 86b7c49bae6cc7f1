// The workstation's local folder for temporary tables, and its cleaning.
//
// The folder is tried up to 10 times: a probe file "YES" written in it means it works;
// else the folder is created; else its drive is replaced by the next one of
// A B C D E F G H I (after I comes C; another drive stays) and tried again. On this
// platform the "drive" of a path is its first component below '/'. A path without one
// gives "Error creando directorio temporal de archivos..." and, like 10 failures, leaves
// temporary tables in the program folder's TEMP/.
#pragma once

#include <string>

namespace app {

// `driveRoot` is where drives live ("/"; tests give a folder of their own).
void SET_LOCAL_TEMP(int flag, const std::string& path, const std::string& driveRoot = "/");

// Erases, in TEMP/ of the local folder (only when it is on): files with the module
// extension with their .CDX and .FPT, .CDX and .FPT files left without a table, and *.HOT
// files with their companions.
void BORRAR_TEMPS();

}  // namespace app
