#pragma once
// Most handlers that touch the item bank end silently at the first failing
// engine or runtime call, keeping what they did before it:
//
//   void Sptest::Command3_Click() {
//       tk::endOnError([&] {
//           ...
//       });
//   }
//
// Only the program's own error type is caught; a programming error still ends
// the program.

#include "core/error.h"

namespace tk {

template <class Body>
void endOnError(Body&& body) {
    try {
        body();
    } catch (const qz::Error&) {
        // the handler ends here, as designed
    }
}

}  // namespace tk
