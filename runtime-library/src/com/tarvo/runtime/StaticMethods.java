package com.tarvo.runtime;

import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;

/**
 * Finding and calling the public static methods the library starts by name (an application's
 * main, a first-run step). Internal to the library, not part of its API: public only because
 * callers live in more than one package.
 */
public final class StaticMethods {

    private StaticMethods() {
    }

    /**
     * The public static method of that name and parameter types (declared or inherited) with
     * that return type, made accessible where allowed; null when there is none.
     */
    public static Method find(Class<?> cls, String name, Class<?> returnType,
            Class<?>... parameterTypes) {
        Method method;
        try {
            method = cls.getMethod(name, parameterTypes);
        } catch (NoSuchMethodException e) {
            return null;
        }
        if (!Modifier.isStatic(method.getModifiers()) || method.getReturnType() != returnType) {
            return null;
        }
        try {
            // A public method of a class that is not public needs this (the java command
            // accepts such a main; so do we).
            method.setAccessible(true);
        } catch (RuntimeException e) {
            // Refused (security manager or module rules): invoke still works for public classes.
        }
        return method;
    }

    /**
     * Calls a static method found by {@link #find}. Whatever the method throws goes on as it is
     * (an Exception or an Error); any other throwable is wrapped in a RuntimeException with the
     * message {@code failed}.
     *
     * @param refused when not null, a refused access becomes an IllegalAccessException with the
     *     message {@code refused} followed by the reflection's own message; when null, the
     *     reflection's IllegalAccessException goes on unchanged
     */
    public static Object invoke(Method method, String failed, String refused, Object... args)
            throws Exception {
        try {
            return method.invoke(null, args);
        } catch (InvocationTargetException e) {
            Throwable cause = e.getCause();
            if (cause instanceof Exception) {
                throw (Exception) cause;
            }
            if (cause instanceof Error) {
                throw (Error) cause;
            }
            throw new RuntimeException(failed, cause);
        } catch (IllegalAccessException e) {
            if (refused == null) {
                throw e;
            }
            throw new IllegalAccessException(refused + e.getMessage());
        }
    }
}
