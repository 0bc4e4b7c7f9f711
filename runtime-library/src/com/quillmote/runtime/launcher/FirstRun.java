package com.quillmote.runtime.launcher;

import com.tarvo.runtime.StaticMethods;
import java.io.BufferedReader;
import java.io.File;
import java.io.FileInputStream;
import java.io.IOException;
import java.io.InputStreamReader;
import java.lang.reflect.Method;
import java.net.URISyntaxException;
import java.net.URL;
import java.nio.charset.StandardCharsets;
import java.security.CodeSource;
import java.util.ArrayList;
import java.util.List;

/**
 * The first-run step. The launcher calls {@link #firstRun()} before the application whenever the
 * marker file ".quillmote/firstrun" exists under the application directory (an installer puts it
 * there).
 *
 * <p>The marker's first line may name a class with {@code public static boolean firstRun()}: it
 * does the application's one-time work and says whether the launch goes on. An empty first line
 * means there is nothing to do. Once the step succeeded the marker is removed, so it runs once;
 * when it returns false or throws, the marker stays and the step runs again on the next start.
 */
public final class FirstRun {

    /** Optional override of the application directory (a VM option). */
    public static final String APPLICATION_DIRECTORY = "tarvo.applicationDirectory";

    static final String MARKER_FOLDER = ".quillmote";
    static final String MARKER_NAME = "firstrun";

    private FirstRun() {
    }

    /**
     * Runs the first-run step.
     *
     * @return true to let the launch go on, false to end it
     * @throws Exception when the named class cannot be found or run, or throws; the launch ends
     */
    public static boolean firstRun() throws Exception {
        File marker = findMarker();
        if (marker == null) {
            System.err.println("First run: no marker found under the application directory;"
                    + " the launch goes on without a first-run step.");
            return true;
        }
        String className = marker.isFile() ? firstLine(marker) : "";
        if (!className.isEmpty() && !callStep(className)) {
            return false;
        }
        if (!marker.delete() && marker.exists()) {
            System.err.println("First run: cannot remove " + marker
                    + "; the first-run step will run again on the next start.");
        }
        return true;
    }

    /** The marker in the first candidate application directory that holds one, or null. */
    static File findMarker() {
        for (File dir : candidateDirectories()) {
            File marker = new File(new File(dir, MARKER_FOLDER), MARKER_NAME);
            if (marker.exists()) {
                return marker;
            }
        }
        return null;
    }

    /**
     * Where the application directory may be, best first: the override property; the folder
     * above ".quillmote" when this library was loaded from there (the launcher puts
     * "application directory\.quillmote\qmoruntime.jar" first on the class path); the
     * executable's folder and the one above it (the usual "..\" setting), from the
     * "tarvo.moduleName" property the launcher sets.
     */
    private static File[] candidateDirectories() {
        List<File> dirs = new ArrayList<File>();
        String override = System.getProperty(APPLICATION_DIRECTORY, "");
        if (!override.isEmpty()) {
            dirs.add(new File(override));
            // An explicit setting is not second-guessed.
            return dirs.toArray(new File[0]);
        }
        File libraryFolder = libraryFolder();
        if (libraryFolder != null && MARKER_FOLDER.equalsIgnoreCase(libraryFolder.getName())
                && libraryFolder.getParentFile() != null) {
            dirs.add(libraryFolder.getParentFile());
        }
        String module = System.getProperty("tarvo.moduleName", "");
        if (!module.isEmpty()) {
            File exeDir = new File(module).getAbsoluteFile().getParentFile();
            if (exeDir != null) {
                dirs.add(exeDir);
                if (exeDir.getParentFile() != null) {
                    dirs.add(exeDir.getParentFile());
                }
            }
        }
        return dirs.toArray(new File[0]);
    }

    private static File libraryFolder() {
        try {
            CodeSource source = FirstRun.class.getProtectionDomain().getCodeSource();
            URL location = source == null ? null : source.getLocation();
            if (location == null || !"file".equals(location.getProtocol())) {
                return null;
            }
            File jar = new File(location.toURI());
            return jar.isFile() ? jar.getAbsoluteFile().getParentFile() : null;
        } catch (SecurityException | URISyntaxException | IllegalArgumentException e) {
            return null;
        }
    }

    /** The first line, without a byte-order mark and surrounding blanks. */
    private static String firstLine(File marker) throws IOException {
        try (BufferedReader in = new BufferedReader(new InputStreamReader(
                new FileInputStream(marker), StandardCharsets.UTF_8))) {
            String line = in.readLine();
            if (line == null) {
                return "";
            }
            if (line.startsWith("\uFEFF")) {
                line = line.substring(1);
            }
            return line.trim();
        }
    }

    private static boolean callStep(String className) throws Exception {
        ClassLoader loader = Thread.currentThread().getContextClassLoader();
        if (loader == null) {
            loader = ClassLoader.getSystemClassLoader();
        }
        Class<?> cls;
        try {
            cls = Class.forName(className, true, loader);
        } catch (ClassNotFoundException e) {
            throw new ClassNotFoundException("First-run class " + className
                    + " (named in the first-run marker) was not found on the class path", e);
        }
        Method step = StaticMethods.find(cls, "firstRun", boolean.class);
        if (step == null) {
            throw noStep(className);
        }
        // No message of our own for a refused access: reflection's goes on unchanged.
        String refused = null;
        return (Boolean) StaticMethods.invoke(step, "First-run class " + className + " failed",
                refused);
    }

    private static NoSuchMethodException noStep(String className) {
        return new NoSuchMethodException("First-run class " + className
                + " has no method public static boolean firstRun()");
    }
}
