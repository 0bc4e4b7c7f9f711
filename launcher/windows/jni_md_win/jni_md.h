/* The machine-dependent part of the JNI headers for the 64-bit Windows build. The JDK package
   on the build machine carries only its Linux variant; the JDK's own jni.h includes this one. */
#ifndef LAUNCHER_JNI_MD_H
#define LAUNCHER_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

/* jint is 32 bits and jlong 64 bits on Windows x64, where long is only 32 bits. */
typedef int jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
