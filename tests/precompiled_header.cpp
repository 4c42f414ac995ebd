// The translation unit that precompiles GoogleTest's header for the test executables.
