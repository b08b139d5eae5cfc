// Text that goes into an XML document.
#pragma once

#include "KxTypes.h"

namespace kx {

// The text with the five characters XML gives a meaning replaced by their
// predefined entities: & &amp;  < &lt;  > &gt;  " &quot;  ' &apos;. The result
// stands as element content and as an attribute value in either quotes (not
// in a comment, a CDATA section or a processing instruction). Works on GBK
// bytes: a second byte of a double-byte character is never one of the five.
// Text without them comes back unchanged.
AnsiString EscapeXmlText(const AnsiString& text);

}  // namespace kx
