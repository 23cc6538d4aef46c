// What a remote command may name. Any client of the device server, and any
// event-map action, speaks the command language, so the files it opens or
// writes are held to these rules: the shell opens documents and web links
// only, and a file name stays inside the folder its command works in.
#pragma once

#include <afx.h>

// Why the shell must not open the file with these parameters in this folder,
// or empty when it may: programs, scripts and shortcuts, names without a
// type, network paths, links other than http and https, and any parameters
// are refused. Texts come lower-cased from the command text.
CString ShellRefusal(const CString& file, const CString& parameters, const CString& folder);

// The name joined to folder, or FALSE when the
// name could leave it: a drive, a root or network path, a "..", a device
// name such as "com1" or "nul", or a character no file name may hold.
BOOL PlaceInFolder(const CString& folder, const CString& name, CString& path);

// The folder part of a path, up to and with its last backslash or slash;
// empty when there is none.
CString FolderOf(const CString& path);
