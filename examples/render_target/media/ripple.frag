// Draws the sprite it is given through a ripple: each pixel samples the picture a
// little to the side, by a wave that runs outward from the centre as time passes,
// and the edges darken.
uniform sampler2D picture;  // the sprite's texture, on unit 0
uniform float time;         // seconds of animation
uniform float strength;     // how far the ripple pushes, in texture units

void main() {
    vec2 uv = gl_TexCoord[0].xy;
    vec2 from_centre = uv - vec2(0.5);
    float distance = length(from_centre);
    float wave = sin(distance * 40.0 - time * 6.0);
    vec2 push = distance > 0.0 ? from_centre / distance * wave * strength : vec2(0.0);
    vec4 colour = texture2D(picture, uv + push);
    float edge = smoothstep(0.75, 0.35, distance);
    gl_FragColor = vec4(colour.rgb * (0.75 + 0.25 * wave) * edge, colour.a) * gl_Color;
}
