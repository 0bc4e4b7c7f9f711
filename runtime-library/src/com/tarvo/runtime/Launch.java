package com.tarvo.runtime;

import java.lang.reflect.Method;
import java.util.Arrays;

/** What both flavours' launcher classes do: settle the process, then run the application. */
final class Launch {

    /** The program path as written on the command line. */
    static final String PROGRAM_PATH = "tarvo.programPath";
    /** "true" when the configuration declares a GUI application, else "false". */
    static final String GUI_APPLICATION = "tarvo.guiApplication";
    /** "true" when the log files are appended to, "false" when each start empties them. */
    static final String APPEND_LOGS = "tarvo.appendLogs";

    static final int LAUNCHER_PARAMETERS = 6;

    private Launch() {
    }

    static void run(String[] args) throws Exception {
        if (args == null || args.length < LAUNCHER_PARAMETERS) {
            throw new IllegalArgumentException("The launcher passed "
                    + (args == null ? 0 : args.length) + " parameters; at least "
                    + LAUNCHER_PARAMETERS + " are needed");
        }
        boolean gui = "true".equalsIgnoreCase(text(args[0]).trim());
        String mainClass = text(args[1]).trim();
        boolean append = "true".equalsIgnoreCase(text(args[4]).trim());

        System.setProperty(GUI_APPLICATION, String.valueOf(gui));
        System.setProperty(APPEND_LOGS, String.valueOf(append));
        System.setProperty(PROGRAM_PATH, text(args[5]));

        TempDirCleanup.installOnce();
        LogRedirect.apply(text(args[2]), text(args[3]), append);

        if (mainClass.isEmpty()) {
            throw new IllegalArgumentException("No application main class is configured");
        }
        String[] appArgs = Arrays.copyOfRange(args, LAUNCHER_PARAMETERS, args.length);
        invokeMain(mainClass, appArgs);
    }

    private static String text(String s) {
        return s == null ? "" : s;
    }

    static void invokeMain(String className, String[] appArgs) throws Exception {
        ClassLoader loader = Thread.currentThread().getContextClassLoader();
        if (loader == null) {
            loader = ClassLoader.getSystemClassLoader();
        }
        Class<?> cls;
        try {
            cls = Class.forName(className, false, loader);
        } catch (ClassNotFoundException e) {
            throw new ClassNotFoundException("Application main class " + className
                    + " was not found on the class path", e);
        } catch (LinkageError e) {
            // A class whose name differs in letter case only, or one built for a newer runtime.
            throw new ClassNotFoundException("Application main class " + className
                    + " could not be loaded: " + e, e);
        }

        Method main = StaticMethods.find(cls, "main", void.class, String[].class);
        if (main == null) {
            throw noMain(className);
        }
        StaticMethods.invoke(main, "Application main class " + className + " failed",
                "The main method of application class " + className + " cannot be called: ",
                (Object) appArgs);
    }

    private static NoSuchMethodException noMain(String className) {
        return new NoSuchMethodException("Application main class " + className
                + " has no method public static void main(String[])");
    }
}
