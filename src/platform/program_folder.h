#pragma once
// The one writable folder where the program keeps its files ($XDG_DATA_HOME/Sonoquant). Every
// program of the project finds it here.
#include <string>

namespace sq {

// The folder's path, without a trailing '/'. Does not create it.
std::string programFolder();
// programFolder() + "/" + relative, with any '\' in `relative` turned into '/'.
std::string programPath(const std::string& relative);
// Creates the folder when missing and seeds it from the installed resources (language files,
// fonts, manual) plus the empty folders bin/, PDF/ and ports/. Existing files are never overwritten.
// Returns the folder's path.
std::string ensureProgramFolder();
// Where the resources that seed the folder are read from: the first that exists of the installed
// layout's resource folder beside the running program (<bin>/../share/Sonoquant), the build tree's,
// and the configured install prefix's.
std::string resourceFolder();
// The installed layout's resource folder for the running program, whether it exists or not; empty
// when the program's own path cannot be read.
std::string resourceFolderBesideProgram();

}  // namespace sq
