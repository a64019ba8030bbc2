// The settings that the document readers and writers consult.
#pragma once

namespace nuv {

struct TFormatOptions {
  bool TextSaveWithData = false;  // write a metadata line under each heading
  bool PirkaCompatible = false;   // the heading carries the body's first line
  bool ShowLabel1 = false;        // show label pictures in the tree
  bool ClearLabel1 = false;       // draw label 1 as the blank picture
};

}  // namespace nuv
