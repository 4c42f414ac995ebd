// A library with thread-local storage of its own: glibc gives each thread a
// dynamic TLS block for it from malloc on first use.
__thread long tlsBlock[5];

long* TouchTlsBlock(void) {
  tlsBlock[0] = 1;
  return tlsBlock;
}
