/* The shared library is built from the internal archive; this file only gives the
   target a source of its own. */
