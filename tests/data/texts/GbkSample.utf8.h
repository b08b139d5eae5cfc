/* Characters whose GBK bytes a compiler would misread if they stood unescaped
   in a string literal, through the same conversion as the program's texts. */
#define KX_SAMPLE_BACKSLASH_SECOND "乗"  /* 81 5C: the second byte is a backslash */
#define KX_SAMPLE_QUOTE_AFTER "乗\""      /* 81 5C 22: an unescaped 5C would swallow the quote */
#define KX_SAMPLE_LETTER_SECOND "丂A"     /* 81 40 41 */
#define KX_SAMPLE_DIGIT_AFTER "表1"       /* B1 ED 31: the digit stays a digit */
#define KX_SAMPLE_C_ESCAPES "“\\\r\n”"   /* escapes written in the source stay escapes */
