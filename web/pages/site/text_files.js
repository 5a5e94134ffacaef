'use strict';
// Whether the bytes of a file the user opens are text, before a program reads them: random
// bytes or a binary STL would otherwise read as lines of unknown tokens, or pass for UTF-16.
// UTF-16 text (with a byte-order mark, or ASCII with every other byte zero) counts as text, so
// that the program itself can say what to do with it.

function looksLikeUtf16(bytes) {
  if (bytes.length >= 2 && ((bytes[0] === 0xff && bytes[1] === 0xfe) || (bytes[0] === 0xfe && bytes[1] === 0xff)))
    return true;
  const head = bytes.subarray(0, Math.min(bytes.length, 512) & ~1);
  if (head.length < 2) return false;
  const zeroAt = head[0] === 0 ? 0 : head[1] === 0 ? 1 : -1;
  if (zeroAt < 0) return false;
  for (let i = 0; i < head.length; i += 2) {
    const zero = head[i + zeroAt], other = head[i + 1 - zeroAt];
    if (zero !== 0 || other === 0 || other > 0x7e || (other < 0x20 && !'\t\n\r'.includes(String.fromCharCode(other))))
      return false;
  }
  return true;
}

// Null for text; else why not, e.g. "a byte 0x00 at offset 84".
function notTextReason(bytes) {
  if (looksLikeUtf16(bytes)) return null;
  const head = bytes.subarray(0, Math.min(bytes.length, 1 << 16));
  for (let i = 0; i < head.length; ++i) {
    const b = head[i];
    if (b < 0x20 && b !== 0x09 && b !== 0x0a && b !== 0x0b && b !== 0x0c && b !== 0x0d)
      return `a byte 0x${b.toString(16).padStart(2, '0')} at offset ${i}`;
  }
  try {
    new TextDecoder('utf-8', { fatal: true }).decode(head, { stream: head.length < bytes.length });
  } catch (error) {
    return 'bytes that are not UTF-8 text';
  }
  return null;
}
