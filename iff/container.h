// CAT and LIST: files that hold several FORMs.
//
//   CAT  <length> <type>  FORMs, LISTs and CATs one after another
//   LIST <length> <type>  PROPs, then FORMs, LISTs and CATs
//   PROP <length> <type>  chunks that every FORM of <type> in the same LIST,
//                         or in a LIST inside it, has unless it has its own
//
// A load takes one picture FORM (a form of iff/form_table.h that a container
// may hold) of such a file, rebuilt as an ordinary picture file: the PROP
// chunks that reach it are placed in front of its own chunks. A PROP chunk is
// left out when a PROP nearer the FORM, or the FORM itself, has a chunk of the
// same kind. Lengths that run past the end of the file are cut at the end of
// the file, so a container whose length is a few bytes short still gives its
// last FORM whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "iff/byte_reader.h"
#include "iff/pixel_array.h"

namespace planora {

struct ContainedPicture {
    // The picture FORMs of the file: 1 for a file that is no container, 0
    // for one too short to have a FORM header.
    int32_t Count = 0;
    // "CAT " or "LIST"; empty when the file is no container.
    std::string ContainerType;
    // The chosen FORM with the PROP chunks in front, its length covering
    // them, and two zero bytes after it as the file cache has. None for a
    // file that is no container, or when the container has no picture of
    // the index asked for.
    std::optional<PixelArray<uint8_t>> Form;
};

// Picture `index` (from 0) of `file`. Throws RunTimeError(kOutOfMemory) when
// the rebuilt FORM cannot be allocated.
ContainedPicture SelectContainedPicture(ByteSpan file, int32_t index);

}  // namespace planora
