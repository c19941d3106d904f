/* Twenty megabytes of data, for a module whose resources are a small part. */
__attribute__((used)) const char bulk[20 * 1024 * 1024] = {1};
