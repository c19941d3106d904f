/* Termvault: the dictionary access component of the translator. It reads
   and fills the same ".dic" dictionaries as the administrator.

   One dictionary is open at a time, for the whole process; the functions are
   not meant to be called from several threads at once. Texts are
   zero-terminated UTF-8; every text handed out is valid UTF-8 without
   control characters (a row of the file that is not is passed over). A
   returned string is owned by the component and stays valid until the
   next call into it: the caller copies it at once.
   Kinds are the two-letter text types "ST", "MN", "DL", "VS", "MT", "FM" (any two
   letters are stored as given). */
#ifndef TERMVAULT_H
#define TERMVAULT_H

#ifdef __cplusplus
extern "C" {
#endif

#define TERMVAULT_EXPORT __attribute__((visibility("default")))

/* Opens the dictionary at `path`, creating it when the file does not
   exist. Non-zero on success; a file that is not a dictionary (or one
   whose tables are not a dictionary's, or that holds views or triggers) is
   refused. An existing file is only read until the first DicSet or
   DicSetEx, or a DicFuzzyPrepare that builds the index of similar texts
   into it: looking texts up never changes it. */
TERMVAULT_EXPORT int DicOpen(const char* path);
/* Closes the open dictionary, if any. Returns 1. */
TERMVAULT_EXPORT int DicClose(void);
/* Non-zero while a dictionary is open. */
TERMVAULT_EXPORT int DicIsOpened(void);

/* Stores a translation: both languages by name and both texts by (kind,
   language, text), each created when missing; the texts are linked, and
   their translation groups joined, as the administrator links them. All of
   it or nothing. Non-zero on success. Texts are stored with line feeds,
   carriage returns and tabs as "\n", "\r", "\t"; invalid UTF-8 or any
   other control character is refused. */
TERMVAULT_EXPORT int DicSet(const char* kind, const char* sourceLanguage, const char* sourceText,
                            const char* targetLanguage, const char* targetText);
/* As DicSet; when `replace` is non-zero the source text's other
   translations into the target language are unlinked first, so that the
   new text becomes its only one there. */
TERMVAULT_EXPORT int DicSetEx(const char* kind, const char* sourceLanguage, const char* sourceText,
                              const char* targetLanguage, const char* targetText, int replace);

/* Looks a text up; non-zero when the dictionary knows it. It becomes the
   text whose translations and languages the functions below list. */
TERMVAULT_EXPORT int DicFind(const char* kind, const char* sourceLanguage, const char* sourceText);
/* The translations of the found text into a language, in the order of the
   texts; "" after the last (and when there is none). */
TERMVAULT_EXPORT const char* DicGetFirst(const char* targetLanguage);
TERMVAULT_EXPORT const char* DicGetNext(void);
/* The languages into which the found text has translations. */
TERMVAULT_EXPORT const char* DicGetFirstLanguage(void);
TERMVAULT_EXPORT const char* DicGetNextLanguage(void);
/* Every language of the dictionary, by name. */
TERMVAULT_EXPORT const char* DicGetFirstDBLanguage(void);
TERMVAULT_EXPORT const char* DicGetNextDBLanguage(void);
/* The dictionary's number for a language name; 0 when it has none. */
TERMVAULT_EXPORT int DicGetLanguageId(const char* language);

/* Similar texts (optional: a translator binds these by name and does
   without them when they are absent).

   DicFuzzyPrepare makes the open dictionary's index of similar texts
   ready: at once when the file holds a current one, otherwise built (in the
   file when it can be written, else for as long as the dictionary stays
   open), calling `progress` now and then with the texts done and in all;
   `progress` may be null, and returning 0 from it stops the build. Non-zero
   when the index is ready. */
typedef int (*DicProgressCallback)(void* context, long long done, long long total);
TERMVAULT_EXPORT int DicFuzzyPrepare(DicProgressCallback progress, void* context);

/* The texts of `sourceLanguage` similar to `text` (a score from 0 to 100,
   100 only for the same text), each with one of its translations into
   `targetLanguage`: every pair scoring at least `minScore` (1 to 100), best
   first, those of `kind` first among equal scores (texts of every kind are
   searched; "" prefers none), at most `maxMatches`. `match` is called once
   for each, with texts valid during the call. Prepares the index without
   progress when DicFuzzyPrepare was not called. Returns the number of
   matches, -1 when no dictionary is open, a value is missing or the index
   cannot be made ready. */
typedef void (*DicMatchCallback)(void* context, int score, const char* kind,
                                 const char* sourceText, const char* targetText);
TERMVAULT_EXPORT int DicFuzzyFind(const char* kind, const char* sourceLanguage, const char* text,
                                  const char* targetLanguage, int minScore, int maxMatches,
                                  DicMatchCallback match, void* context);

#ifdef __cplusplus
}
#endif

#endif /* TERMVAULT_H */
