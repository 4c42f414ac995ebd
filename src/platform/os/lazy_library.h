// Libraries the program opens on their first call rather than at its start:
// a check report needs none of them, and opening them all took longer than
// the report on a small plug-in. Each is described by an X-macro list of the
// functions the program calls, which fills a record of function pointers.
#pragma once

// A record member for each function of the list.
#define VDL_LIBRARY_POINTER(name) decltype(&::name) name;
// Finds a function of the list in `library` (named `soname`) for `functions`.
#define VDL_LIBRARY_FIND(name) FindFunctionOrEnd(library, soname, #name, functions.name);

// The library, opened now. A program that cannot open it, or find one of its
// functions, ends with a line that says why, as it did when it was linked.
void* OpenLibraryOrEnd(const char* soname);
void* FindSymbolOrEnd(void* library, const char* soname, const char* name);

template <class Function>
void FindFunctionOrEnd(void* library, const char* soname, const char* name, Function& function) {
  function = reinterpret_cast<Function>(FindSymbolOrEnd(library, soname, name));
}

// Defines `accessor`, which opens the library on its first call and returns
// the functions of its list.
#define VDL_LAZY_LIBRARY(Record, accessor, libraryName, FUNCTIONS) \
  const Record& accessor() {                                       \
    static const Record record = [] {                              \
      const char* soname = libraryName;                            \
      void* library = OpenLibraryOrEnd(soname);                    \
      Record functions;                                            \
      FUNCTIONS(VDL_LIBRARY_FIND)                                  \
      return functions;                                            \
    }();                                                           \
    return record;                                                 \
  }
