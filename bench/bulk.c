/* Data for a module whose resources are a small part of it: twenty
   megabytes, or BULK_BYTES. */
#ifndef BULK_BYTES
#define BULK_BYTES (20 * 1024 * 1024)
#endif
__attribute__((used)) const char bulk[BULK_BYTES] = {1};
