// The base of the fountains: a component that knows the file extensions it
// serves, kept sorted and free of duplicates.
#pragma once

#include <string>
#include <string_view>

#include "fountain/SortedWordList.h"

namespace nuv {

class TFileExtComponent {
 public:
  virtual ~TFileExtComponent() = default;

  const TSortedWordList& FileExtList() const { return m_fileExtList; }
  void SetFileExtList(const TSortedWordList& list) { m_fileExtList = list; }
  void AddFileExt(std::string_view ext) { m_fileExtList.Add(ext); }
  // True when the extension (with its dot, any case) is listed.
  bool HasExt(std::string_view ext) const { return m_fileExtList.Contains(ext); }

 private:
  TSortedWordList m_fileExtList;
};

}  // namespace nuv
